#include "app/ui/ReportWorkspace.h"

#include "app/TBaseApplication.h"

#ifdef KASOVKA_HAVE_WORKSPACE
#include "workspace/TReportContainer.h"
#endif

namespace kasovka {

#ifdef KASOVKA_HAVE_WORKSPACE
namespace {

class ContainerWorkspace : public IReportWorkspace {
public:
    explicit ContainerWorkspace(TBaseApplication &app) : m_container(app) {}
    bool Run() override { return m_container.Run(); }

private:
    TReportContainer m_container;
};

} // namespace
#endif

WorkspaceFactory ReportContainerFactory()
{
    return [](TBaseApplication &app) -> std::unique_ptr<IReportWorkspace> {
#ifdef KASOVKA_HAVE_WORKSPACE
        return std::make_unique<ContainerWorkspace>(app);
#else
        (void)app;
        return nullptr;
#endif
    };
}

} // namespace kasovka
