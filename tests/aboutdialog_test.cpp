#include "about/aboutdialog.h"

#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QColor cellColour(std::uint32_t cell)
{
    return QColor(static_cast<int>(cell & 255), static_cast<int>((cell >> 8) & 255),
        static_cast<int>((cell >> 16) & 255));
}

// 24 colours, all different, none black and none grey like a dialog's background.
SystemColours testCard()
{
    SystemColours cells;
    for (std::uint32_t i = 0; i < 24; ++i)
        cells[i] = (20 + 9 * i) + 256 * (230 - 7 * i) + 65536 * ((i * 53) % 200 + 30);
    return cells;
}

QPushButton* button(const QWidget& dialog, const QString& text)
{
    for (QPushButton* found : dialog.findChildren<QPushButton*>()) {
        if (found->text() == text)
            return found;
    }
    return nullptr;
}

QGroupBox* groupBox(const QWidget& dialog, const QString& title)
{
    for (QGroupBox* found : dialog.findChildren<QGroupBox*>()) {
        if (found->title() == title)
            return found;
    }
    return nullptr;
}

QImage render(QWidget& dialog)
{
    return dialog.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QColor pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

class About : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(paletteButton, nullptr);
        ASSERT_NE(okButton, nullptr);
    }

    // Checks swatch i: its outline black on all four sides, its colour inside, and the
    // gaps to its right and below it as they were before any swatch was drawn.
    static void expectSwatch(const QImage& image, const QImage& before, int i, QColor colour)
    {
        SCOPED_TRACE(testing::Message() << "swatch " << i);
        const int left = 30 + 20 * (i % 12);
        const int top = 15 + 20 * (i / 12);
        for (int k = 0; k < 18; ++k) {
            EXPECT_EQ(pixel(image, left + k, top), QColor(Qt::black)) << "top edge " << k;
            EXPECT_EQ(pixel(image, left + k, top + 17), QColor(Qt::black)) << "bottom edge " << k;
            EXPECT_EQ(pixel(image, left, top + k), QColor(Qt::black)) << "left edge " << k;
            EXPECT_EQ(pixel(image, left + 17, top + k), QColor(Qt::black)) << "right edge " << k;
        }
        for (int y = top + 1; y < top + 17; y += 5) {
            for (int x = left + 1; x < left + 17; x += 5)
                EXPECT_EQ(pixel(image, x, y), colour) << x << "," << y;
        }
        EXPECT_EQ(pixel(image, left + 16, top + 16), colour);
        for (const QPoint gap : { QPoint(left + 18, top + 5), QPoint(left + 19, top + 5),
                 QPoint(left + 5, top + 18), QPoint(left + 5, top + 19) })
            EXPECT_EQ(pixel(image, gap.x(), gap.y()), pixel(before, gap.x(), gap.y()))
                << gap.x() << "," << gap.y();
    }

    SystemColours cells = testCard();
    AboutDialog dialog { cells, nullptr };
    QPushButton* paletteButton = button(dialog, QStringLiteral("Pallete"));
    QPushButton* okButton = button(dialog, QStringLiteral("OK - Porreiro"));
};

TEST_F(About, TemplateGeometry)
{
    EXPECT_EQ(dialog.windowTitle(),
        QStringLiteral("Informação acerca do Quorvel Naval ... nada a salientar."));
    EXPECT_EQ(dialog.size(), QSize(427, 170));
    EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
    EXPECT_EQ(okButton->geometry(), QRect(330, 126, 75, 22));
    EXPECT_EQ(paletteButton->geometry(), QRect(331, 26, 75, 22));
    QGroupBox* test = groupBox(dialog, QStringLiteral("Teste da pallete do sistema"));
    ASSERT_NE(test, nullptr);
    EXPECT_EQ(test->geometry(), QRect(10, 0, 406, 63));
    QGroupBox* frame = groupBox(dialog, QString());
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->geometry(), QRect(10, 61, 406, 97));
    EXPECT_TRUE(okButton->isDefault());
    EXPECT_TRUE(dialog.isModal());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowSystemMenuHint);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint);
}

TEST_F(About, TextsAndCaptionsFitTheirRectangles)
{
    const QList<QLabel*> labels = dialog.findChildren<QLabel*>();
    QStringList texts;
    for (QLabel* label : labels) {
        if (label->text().isEmpty())
            continue;
        texts << label->text();
        const QRect needed = label->fontMetrics().boundingRect(
            QRect(0, 0, 10000, 10000), Qt::AlignLeft | Qt::AlignTop, label->text());
        EXPECT_LE(needed.width(), label->width()) << label->text().toStdString();
        EXPECT_LE(needed.height(), label->height()) << label->text().toStdString();
    }
    ASSERT_EQ(texts.size(), 2);
    const QStringList product = texts[0].split(QLatin1Char('\n'));
    ASSERT_EQ(product.size(), 2);
    EXPECT_EQ(product[0],
        QString(16, QLatin1Char(' ')) + QStringLiteral("Quorvel Naval TCP/IP Versão 3.0"));
    EXPECT_TRUE(
        product[1].startsWith(QLatin1Char(' ')) && !product[1].startsWith(QStringLiteral("  ")));
    EXPECT_TRUE(product[1].contains(QStringLiteral("Qt ")));
    const QStringList author = texts[1].split(QLatin1Char('\n'));
    ASSERT_EQ(author.size(), 2);
    EXPECT_FALSE(author[0].startsWith(QLatin1Char(' ')));
    EXPECT_TRUE(author[1].startsWith(QString(18, QLatin1Char(' '))));
    EXPECT_NE(author[1][18], QLatin1Char(' '));

    for (QPushButton* found : dialog.findChildren<QPushButton*>())
        EXPECT_LT(found->fontMetrics().horizontalAdvance(found->text()) + 8, found->width());
    for (QGroupBox* found : dialog.findChildren<QGroupBox*>())
        EXPECT_LT(found->fontMetrics().horizontalAdvance(found->title()) + 16, found->width());
}

TEST_F(About, IconIsDrawnFromTheResources)
{
    EXPECT_FALSE(programIcon().isNull());
    EXPECT_FALSE(programIcon().pixmap(32, 32).isNull());
    const QImage image = render(dialog);
    const QColor background = pixel(image, 16, 116);
    int drawn = 0;
    for (int y = 100; y < 132; ++y) {
        for (int x = 22; x < 54; ++x)
            drawn += pixel(image, x, y) != background;
    }
    EXPECT_GT(drawn, 32 * 32 * 3 / 4);
    EXPECT_EQ(pixel(image, 22 + 32 + 1, 100 + 16), background);
}

TEST_F(About, SwatchesAppearOnlyAfterPallete)
{
    // Before the click the card's area is plain: no outline, no colour.
    const QImage before = render(dialog);
    const QColor background = pixel(before, 25, 25);
    for (int y = 15; y < 53; ++y) {
        for (int x = 30; x < 268; ++x)
            ASSERT_EQ(pixel(before, x, y), background) << x << "," << y;
    }

    QTest::mouseClick(paletteButton, Qt::LeftButton);
    const QImage after = render(dialog);
    for (int i = 0; i < 24; ++i)
        expectSwatch(after, before, i, cellColour(cells[static_cast<std::size_t>(i)]));

    // The corners named for the card: swatch 0 at 30..47 x 15..32, swatch 11 ending at
    // x 267, swatch 12 starting at 30, 35 and swatch 23 ending at 267, 52.
    EXPECT_EQ(pixel(after, 29, 15), background);
    EXPECT_EQ(pixel(after, 30, 14), background);
    EXPECT_EQ(pixel(after, 30, 15), QColor(Qt::black));
    EXPECT_EQ(pixel(after, 47, 32), QColor(Qt::black));
    EXPECT_EQ(pixel(after, 48, 33), background);
    EXPECT_EQ(pixel(after, 250, 15), QColor(Qt::black));
    EXPECT_EQ(pixel(after, 267, 32), QColor(Qt::black));
    EXPECT_EQ(pixel(after, 268, 20), background);
    EXPECT_EQ(pixel(after, 30, 35), QColor(Qt::black));
    EXPECT_EQ(pixel(after, 30, 34), background);
    EXPECT_EQ(pixel(after, 267, 52), QColor(Qt::black));
    EXPECT_EQ(pixel(after, 268, 53), background);
    EXPECT_EQ(pixel(after, 250, 53), background);
}

TEST_F(About, SwatchesTakeTheCellsAtEachClickAndSurviveRepaints)
{
    const QImage before = render(dialog);
    cells[0] = 255; // changed after the box was built
    QTest::mouseClick(paletteButton, Qt::LeftButton);
    cells[0] = 65536 * 255; // changed after the click
    expectSwatch(render(dialog), before, 0, QColor(255, 0, 0));
    dialog.repaint();
    expectSwatch(render(dialog), before, 0, QColor(255, 0, 0));

    QTest::mouseClick(paletteButton, Qt::LeftButton);
    expectSwatch(render(dialog), before, 0, QColor(0, 0, 255));
    expectSwatch(render(dialog), before, 23, cellColour(cells[23]));
}

// A player's click lands on whatever is on top at that point of the window.
TEST_F(About, ClicksThroughTheWindowReachTheButtons)
{
    const QImage before = render(dialog);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::mouseClick(
        dialog.windowHandle(), Qt::LeftButton, {}, paletteButton->geometry().center());
    expectSwatch(render(dialog), before, 0, cellColour(cells[0]));
    QTest::mouseClick(dialog.windowHandle(), Qt::LeftButton, {}, okButton->geometry().center());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

// The box runs modally, as the main window runs it, while a player closes it.
TEST_F(About, OkEnterAndEscapeCloseIt)
{
    QTimer::singleShot(0, okButton, [this] { QTest::mouseClick(okButton, Qt::LeftButton); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());

    QTimer::singleShot(0, &dialog, [this] { QTest::keyClick(&dialog, Qt::Key_Escape); });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());

    QTimer::singleShot(0, &dialog, [this] { QTest::keyClick(&dialog, Qt::Key_Return); });
    EXPECT_EQ(dialog.exec(), QDialog::Accepted);

    // After "Pallete" the box still closes on Escape, swatches and all.
    QTimer::singleShot(0, &dialog, [this] {
        QTest::mouseClick(paletteButton, Qt::LeftButton);
        QTest::keyClick(&dialog, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
}

} // namespace
