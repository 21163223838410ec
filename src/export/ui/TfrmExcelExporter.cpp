#include "export/ui/TfrmExcelExporter.h"

#include "app/TBaseApplication.h"
#include "core/Error.h"
#include "core/FileNames.h"
#include "export/ExcelExporter.h"
#include "export/ExcelExporterForm.h"
#include "ui/ReportIcons.h"
#include "ui/SaveFileDialog.h"
#include "ui/ToolWindow.h"
#include "ui/WindowConventions.h"

#include <QApplication>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

namespace kasovka {

namespace {

QWidget *hintStrip(QWidget *parent, QLabel *&text)
{
    auto *strip = new QWidget(parent);
    strip->setAutoFillBackground(true);
    QPalette palette = strip->palette();
    palette.setColor(QPalette::Window, Qt::white);
    strip->setPalette(palette);
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(12, 8, 12, 8);
    auto *icon = new QLabel(strip);
    icon->setPixmap(reportPixmap(ReportIcon::Info, 24));
    icon->setAlignment(Qt::AlignTop);
    row->addWidget(icon);
    text = new QLabel(QStringLiteral("Zadejte jméno souboru a klepněte na tlačítko [OK]. Chcete-li výsledný "
                                     "soubor automaticky zobrazit v asociované aplikaci, aktivujte přepínač "
                                     "\"po dokončení zobrazit.\""),
                      strip);
    text->setWordWrap(true);
    row->addWidget(text, 1);
    return strip;
}

} // namespace

TfrmExcelExporter::TfrmExcelExporter(TExcelExporter &exporter, QWidget *parent)
    : QDialog(parent, toolWindowFlags()), m_exporter(exporter), m_form(std::make_unique<TExcelExporterForm>(exporter)),
      m_chooser(&chooseSaveFile)
{
    setObjectName(QStringLiteral("TfrmExcelExporter"));
    setWindowTitle(QStringLiteral("Export"));
    QVBoxLayout *layout = toolWindowLayout(this, int(Glyph::Close), QStringLiteral("Storno"), btnOk, btnClose);

    auto *main = new QWidget(this);
    auto *body = new QVBoxLayout(main);
    body->setContentsMargins(14, 12, 14, 12);
    body->setSpacing(8);
    body->addWidget(captionRow(main, ReportIcon::Workbook, QStringLiteral("Exportovat do souboru")));
    auto *fileRow = new QHBoxLayout;
    edtExportFileName = new QLineEdit(main);
    edtExportFileName->setObjectName(QStringLiteral("edtExportFileName"));
    edtExportFileName->setMinimumWidth(420);
    btnProchazet = new QPushButton(reportIcon(ReportIcon::Folder), QStringLiteral("Procházet"), main);
    btnProchazet->setAutoDefault(false);
    fileRow->addWidget(edtExportFileName, 1);
    fileRow->addWidget(btnProchazet);
    body->addLayout(fileRow);
    lblFileType = new QLabel(main);
    lblFileType->setObjectName(QStringLiteral("lblFileType"));
    body->addWidget(lblFileType);
    chckRunAssociatedProgram = new QCheckBox(QStringLiteral("po dokončení zobrazit"), main);
    body->addWidget(chckRunAssociatedProgram);
    layout->addWidget(main);
    layout->addWidget(hintStrip(this, lblHint));
    lblHint->setFixedWidth(520);

    connect(btnOk, &QToolButton::clicked, this, &TfrmExcelExporter::Ok);
    connect(btnClose, &QToolButton::clicked, this, &QDialog::reject);
    connect(btnProchazet, &QPushButton::clicked, this, &TfrmExcelExporter::Browse);
    // The extension chooses what OK writes; a name without one is an .xls.
    const auto showFileType = [this](const QString &text) {
        lblFileType->setText(QStringLiteral("Typ souboru: %1").arg(exportFormatTitle(exportFormatOf(text))));
    };
    connect(edtExportFileName, &QLineEdit::textChanged, this, showFileType);
    showFileType(edtExportFileName->text()); // an empty name too: OK would write an .xls
    installKeyPreview(this, [this] { Ok(); }, [this] { reject(); });
    auto *help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this,
            [this] { m_exporter.Application().ShowHelpTopic(QStringLiteral("pgExport.htm")); });
}

TfrmExcelExporter::~TfrmExcelExporter() = default;

void TfrmExcelExporter::showEvent(QShowEvent *event)
{
    if (!m_shown) {
        m_shown = true;
        edtExportFileName->setText(m_form->initialFileName());
        chckRunAssociatedProgram->setChecked(m_form->initialRunAssociatedProgram());
        centreOnScreen(this);
    }
    QDialog::showEvent(event);
    edtExportFileName->setFocus();
}

void TfrmExcelExporter::Ok()
{
    // The progress window processes events while the export runs: the
    // window takes no second OK or Storno until it ends.
    const auto busy = [this](bool on) {
        m_exporting = on;
        setEnabled(!on);
        if (on)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    };
    bool done = false;
    try {
        done = m_form->OnOk(edtExportFileName->text(), chckRunAssociatedProgram->isChecked(), busy);
    } catch (const Error &error) {
        // Copying the tables can fail on damaged data; the window stays open.
        QApplication::restoreOverrideCursor();
        m_exporter.Application().ShowMessageDialog(exportErrorText(error.text()), MessageKind::Error);
    }
    if (done)
        accept();
}

void TfrmExcelExporter::reject()
{
    if (m_exporting) {
        m_exporter.Application().SetCancelRequested(true);
        return;
    }
    QDialog::reject();
}

void TfrmExcelExporter::Browse()
{
    const QString chosen = m_chooser(browseRequest(edtExportFileName->text(), m_exporter.FileFormat()), this);
    if (!chosen.isEmpty())
        edtExportFileName->setText(TExcelExporterForm::browseResult(chosen));
}

TSaveFileRequest TfrmExcelExporter::browseRequest(const QString &editText, TExportFormat remembered)
{
    const QString folder = folderPart(editText);
    const TExportFormat format = explicitExportFormat(editText).value_or(remembered);
    return {QStringLiteral("Exportovat do souboru"),
            QStringLiteral("Sešit MS Excel (*.xls)|*.xls|Sešit Office Open XML (*.xlsx)|*.xlsx"),
            int(format),
            {exportFormatName(TExportFormat::Xls).toUpper(), exportFormatName(TExportFormat::Xlsx).toUpper()},
            folder,
            editText.mid(folder.size())};
}

} // namespace kasovka
