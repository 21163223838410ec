#pragma once
// How the wizard reaches the report workspace: through a factory, so that
// the hand-over can be run against a stand-in and the wizard does not need
// to know the container's construction.

#include <functional>
#include <memory>

namespace kasovka {

class TBaseApplication;

class IReportWorkspace {
public:
    virtual ~IReportWorkspace() = default;
    // Runs the workspace modally; true when it ended normally.
    virtual bool Run() = 0;
};

// Creates the workspace for the launch context.
using WorkspaceFactory = std::function<std::unique_ptr<IReportWorkspace>(TBaseApplication &)>;

// The program's workspace: the report container.
WorkspaceFactory ReportContainerFactory();

} // namespace kasovka
