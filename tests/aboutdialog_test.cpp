#include "about/aboutdialog.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QColor colourOf(std::uint32_t cell)
{
    return QColor(qRgb(cell & 255, cell >> 8 & 255, cell >> 16));
}

QPushButton* button(const QWidget& dialog, const QString& text)
{
    for (QPushButton* found : dialog.findChildren<QPushButton*>())
        if (found->text() == text)
            return found;
    return nullptr;
}

class About : public testing::Test {
protected:
    void SetUp() override
    {
        // 24 colours, all different, none black and none grey like the dialog's background.
        for (std::uint32_t i = 0; i < 24; ++i)
            cells[i] = (20 + 9 * i) + 256 * (230 - 7 * i) + 65536 * ((i * 53) % 200 + 30);
        ASSERT_TRUE(paletteButton != nullptr && okButton != nullptr);
    }
    QImage render() { return dialog.grab().toImage().convertToFormat(QImage::Format_RGB32); }

    // Swatch i is outlined in black from (30 + 20 * (i % 12), 15 + 20 * (i / 12)) to 17 pixels
    // further right and down and filled with its cell's colour; the background lies between.
    void expectSwatches(const QImage& image, QColor background)
    {
        for (int i = 0; i < 24; ++i)
            for (int dx : { -1, 0, 1, 8, 16, 17, 18, 19 })
                for (int dy : { 0, 1, 8, 16, 17, 18, 19 }) {
                    QColor expected = colourOf(cells[static_cast<std::size_t>(i)]);
                    if (dx == 0 || dx == 17 || dy == 0 || dy == 17)
                        expected = Qt::black;
                    if (dx < 0 || dx > 17 || dy > 17)
                        expected = background;
                    const QPoint at(30 + 20 * (i % 12) + dx, 15 + 20 * (i / 12) + dy);
                    EXPECT_EQ(image.pixelColor(at), expected)
                        << "swatch " << i << " at " << dx << ", " << dy;
                }
    }

    SystemColours cells {};
    AboutDialog dialog { cells, nullptr };
    QPushButton* paletteButton = button(dialog, QStringLiteral("Pallete"));
    QPushButton* okButton = button(dialog, QStringLiteral("OK - Porreiro"));
};

// Nothing of the card shows until "Pallete" is clicked, which takes the cells as they are
// then. A player's clicks land on whatever is on top at their point of the window.
TEST_F(About, PalleteDrawsTheSwatchesAndOkCloses)
{
    const QImage before = render();
    const QColor background = before.pixelColor(25, 25);
    for (int y = 15; y < 53; ++y)
        for (int x = 30; x < 268; ++x)
            ASSERT_EQ(before.pixelColor(x, y), background) << x << "," << y;
    cells[0] = 255; // changed after the box was built
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(
        dialog.windowHandle(), Qt::LeftButton, {}, paletteButton->geometry().center());
    expectSwatches(render(), background); // a repaint draws them again
    QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, okButton->geometry().center());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

// The title, the texts and the layout in units of the dialog font (a horizontal unit 6 / 4
// pixels, a vertical one 13 / 8): a box of 285 by 105 units.
TEST_F(About, TitleTextsAndLayout)
{
    EXPECT_EQ(dialog.windowTitle(),
        QStringLiteral("Informação acerca do Quorvel Naval ... nada a salientar."));
    EXPECT_EQ(dialog.size(), QSize(427, 170));
    EXPECT_EQ(paletteButton->geometry(), QRect(331, 26, 75, 22));
    EXPECT_EQ(okButton->geometry(), QRect(330, 126, 75, 22));
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        texts << label->text();
    ASSERT_EQ(texts.size(), 3) << "the icon and two texts";
    EXPECT_TRUE(texts[1].startsWith(
        QStringLiteral("                Quorvel Naval TCP/IP Versão 3.0\n Escrito com Qt ")))
        << texts[1].toStdString();
    EXPECT_EQ(texts[2],
        QStringLiteral("Por quem gosta de batalhas navais\n                  Feito em Portugal"));
}

// The box runs modally, as the main window runs it, while a player closes it with Enter, or
// with Escape once the swatches are drawn.
TEST_F(About, EnterAndEscapeCloseIt)
{
    QTimer::singleShot(0, &dialog, [this] { QTest::keyClick(&dialog, Qt::Key_Return); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    QTimer::singleShot(0, &dialog, [this] {
        QTest::mouseClick(paletteButton, Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

// The box beeps as it opens, once, with the beep it is given.
TEST(AboutBeep, TheBoxBeepsWithTheBeepItIsGiven)
{
    const SystemColours cells {};
    int beeps = 0;
    const AboutDialog dialog { cells, nullptr, [&beeps] { ++beeps; } };
    EXPECT_EQ(beeps, 1);
}

} // namespace
