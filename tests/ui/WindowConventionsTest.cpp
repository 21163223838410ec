#include "ui/QtTranslation.h"
#include "ui/WindowConventions.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>

#include <gtest/gtest.h>

#include <memory>

namespace kasovka {
namespace {

// A caption as the user reads it: no mnemonic marks, no shortcut after a tab.
QString shown(QString text)
{
    return text.remove(QLatin1Char('&')).section(QLatin1Char('\t'), 0, 0);
}

TEST(QtTranslation, SaveDialogAndContextMenuSpeakCzech)
{
    ASSERT_TRUE(installQtTranslation());

    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    QStringList captions;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        captions << shown(label->text());
    for (const QAbstractButton *button : dialog.findChild<QDialogButtonBox *>()->buttons())
        captions << shown(button->text());
    for (const char *czech : {"Název souboru:", "Uložit", "Zrušit"})
        EXPECT_TRUE(captions.contains(QString::fromUtf8(czech))) << captions.join(u'|').toStdString();

    QLineEdit box(QStringLiteral("text"));
    const std::unique_ptr<QMenu> menu(box.createStandardContextMenu());
    QStringList items;
    for (const QAction *action : menu->actions())
        items << shown(action->text());
    for (const char *czech : {"Kopírovat", "Vložit", "Vybrat vše"})
        EXPECT_TRUE(items.contains(QString::fromUtf8(czech))) << items.join(u'|').toStdString();
}

TEST(PlaceOnScreen, WindowEndsWhollyOnTheScreenAndCentred)
{
    QWidget probe;
    const QRect area = probe.screen()->availableGeometry();
    const struct {
        QSize size;
        QSize expected; // invalid: unchanged
    } rows[] = {
        {{300, 200}, {}},
        {{area.width() + 200, 300}, {area.width() - 8, 300}},
        {{400, area.height()}, {400, area.height() - 34}},
    };
    for (const auto &row : rows) {
        QWidget window;
        window.resize(row.size);
        placeOnScreen(&window);
        EXPECT_EQ(window.size(), row.expected.isValid() ? row.expected : row.size) << row.size.width();
        // The frame, title bar included, is placed from pos() and stays on the screen.
        const QRect framed(window.pos(), window.size().grownBy(QMargins(4, 30, 4, 4)));
        EXPECT_TRUE(area.contains(framed)) << row.size.width();
        EXPECT_LE(std::abs(framed.center().x() - area.center().x()), 1) << row.size.width();
    }
}

} // namespace
} // namespace kasovka
