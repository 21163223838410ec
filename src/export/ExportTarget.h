#pragma once
// Where an export writes its workbook, for any output format: a target that
// is one of the templates is refused, and the new workbook is written to a
// temporary file beside the target that replaces the old file only once it
// is complete, so a failed export (a full disk, a damaged template) leaves
// the old workbook as it was.
//
//     TExportTarget target(fileName);
//     writer.save(target.temporaryPath());  // any writer that creates a new file
//     target.commit();                      // throws Error "Nelze přepsat soubor …"

#include <QString>

namespace kasovka {

// True when `target` names a template of `templateFolder` (a "*.xl" file
// there): through a link, another letter case or a second name of the
// same file.
bool IsTemplateFile(const QString &target, const QString &templateFolder);

class TExportTarget {
public:
    explicit TExportTarget(const QString &target);
    ~TExportTarget(); // removes the temporary file unless committed
    TExportTarget(const TExportTarget &) = delete;
    TExportTarget &operator=(const TExportTarget &) = delete;

    // A path beside the target where nothing is yet; the writer creates it.
    const QString &temporaryPath() const { return m_temporary; }
    // Replaces the target with the temporary file (a link at the target is
    // replaced, not followed). Throws Error "Nelze přepsat soubor " + target.
    void commit();

private:
    QString m_target;
    QString m_temporary;
    bool m_committed = false;
};

} // namespace kasovka
