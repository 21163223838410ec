#include "program/ReportWorkspace.h"

#include "app/TBaseApplication.h"
#include "workspace/TReportContainer.h"

namespace kasovka {

namespace {

class ContainerWorkspace : public IReportWorkspace {
public:
    explicit ContainerWorkspace(TBaseApplication &app) : m_container(app) {}
    bool Run() override { return m_container.Run(); }

private:
    TReportContainer m_container;
};

} // namespace

WorkspaceFactory ReportContainerFactory()
{
    return [](TBaseApplication &app) -> std::unique_ptr<IReportWorkspace> {
        return std::make_unique<ContainerWorkspace>(app);
    };
}

} // namespace kasovka
