#pragma once
// How TReportFilter::Execute reaches its dialog without depending on
// widgets: the window library implements this interface, tools and tests
// provide their own.

namespace kasovka {

class TReportFilter;

class IReportFilterEditor {
public:
    virtual ~IReportFilterEditor() = default;
    // Shows the filter's values for editing. On confirmation copies them
    // into the filter and returns true; otherwise leaves it unchanged and
    // returns false.
    virtual bool edit(TReportFilter &filter) = 0;
};

} // namespace kasovka
