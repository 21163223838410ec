#include "ReportTool.h"

namespace kasovka::tool {

const ToolOption *ToolRegistry::find(const QString &name) const
{
    for (const ToolOption &option : m_options) {
        if (option.name == name)
            return &option;
    }
    return nullptr;
}

} // namespace kasovka::tool
