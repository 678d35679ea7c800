#include "aboutdialog.h"

#include "dialogunits.h"

#include <QApplication>
#include <QGroupBox>
#include <QImageReader>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

#include <QtGlobal>

namespace {

// The box is laid out in dialog units (see dialogunits.h), their fractions of a pixel cut
// off.
QRect dialogRect(int x, int y, int width, int height)
{
    return ::dialogRect(x, y, width, height, DialogRounding::Down);
}

// A font whose captions fit the rectangles laid out for the 8-point dialog font: lines of
// at most 13 pixels, and about as wide.
QFont dialogFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(10);
    return font;
}

QString compilerName()
{
#if defined(__clang__)
    return QStringLiteral("Clang %1.%2").arg(__clang_major__).arg(__clang_minor__);
#elif defined(__GNUC__)
    return QStringLiteral("GCC %1.%2").arg(__GNUC__).arg(__GNUC_MINOR__);
#else
    return QStringLiteral("C++20");
#endif
}

QLabel* staticText(const QString& text, const QRect& rect, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(rect);
    return label;
}

// A group box drawn as the dialog templates know it: an etched frame whose top line runs
// through the middle of the caption, so that what the box frames may start a few pixels
// below the top of its rectangle (the test card's first row, at y 15, lies inside).
class TemplateGroupBox : public QGroupBox {
public:
    TemplateGroupBox(const QString& title, QWidget* parent)
        : QGroupBox(title, parent)
    {
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        const QFontMetrics metrics = fontMetrics();
        const int top = metrics.height() / 2;
        const QRect frame(0, top, width() - 1, height() - top - 1);
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawRect(frame.adjusted(0, 0, -1, -1));
        painter.setPen(palette().color(QPalette::Light));
        painter.drawRect(frame.adjusted(1, 1, 0, 0));
        if (title().isEmpty())
            return;
        const QRect caption(8, 0, metrics.horizontalAdvance(title()) + 4, metrics.height());
        painter.fillRect(caption, palette().color(QPalette::Window));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(caption, Qt::AlignCenter, title());
    }
};

QGroupBox* groupBox(const QString& title, const QRect& rect, QWidget* parent)
{
    auto* box = new TemplateGroupBox(title, parent);
    box->setGeometry(rect);
    // A frame only: the controls inside it stay on top and get their clicks.
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->lower();
    return box;
}

constexpr int swatchSize = 18;
constexpr int swatchStep = 20;
constexpr int swatchLeft = 30;
constexpr int swatchTop = 15;
constexpr int swatchesPerRow = 12;

} // namespace

QIcon programIcon()
{
    QIcon icon;
    // Pixmaps, not files, read as the PNG they are: a file makes QIcon ask every icon engine
    // plugin whether it takes that kind of file, and a reader left to find the format loads
    // every image plugin to ask it first; loading them costs more than the icon itself.
    for (int size : { 16, 24, 32, 48, 64 }) {
        QImageReader reader(QStringLiteral(":/icons/quorvel-naval-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    return icon;
}

QString programName() { return QStringLiteral("Quorvel Naval"); }

AboutDialog::AboutDialog(
    const SystemColours& colours, QWidget* parent, const std::function<void()>& beep)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , systemColours(colours)
{
    setWindowTitle(tr("Informação acerca do Quorvel Naval ... nada a salientar."));
    setFont(dialogFont());
    setModal(true);
    setFixedSize(dialogRect(0, 0, 285, 105).size());

    // The controls in template order, which is also their tab order.
    auto* icon = new QLabel(this);
    icon->setPixmap(programIcon().pixmap(32, 32));
    // Like the platform's icon control, it takes the size of the icon at its position.
    icon->setGeometry(QRect(dialogRect(15, 62, 21, 20).topLeft(), QSize(32, 32)));

    staticText(tr("                Quorvel Naval TCP/IP Versão 3.0\n"
                  " Escrito com Qt %1 e compilado com %2")
                   .arg(QLatin1String(QT_VERSION_STR), compilerName()),
        dialogRect(43, 54, 175, 18), this);
    staticText(tr("Por quem gosta de batalhas navais\n"
                  "                  Feito em Portugal"),
        dialogRect(63, 74, 145, 16), this);

    auto* ok = new QPushButton(tr("OK - Porreiro"), this);
    ok->setGeometry(dialogRect(220, 78, 50, 14));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    groupBox(QString(), dialogRect(7, 38, 271, 60), this);

    auto* palette = new QPushButton(tr("Pallete"), this);
    palette->setGeometry(dialogRect(221, 16, 50, 14));
    connect(palette, &QPushButton::clicked, this, &AboutDialog::OnPalette);

    groupBox(tr("Teste da pallete do sistema"), dialogRect(7, 0, 271, 39), this);

    ok->setFocus();
    beep();
}

void AboutDialog::OnPalette()
{
    swatches = systemColours;
    update();
}

// Two rows of twelve squares, each an 18-pixel square with a one-pixel black outline and
// its colour inside, 2 pixels apart.
void AboutDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!swatches)
        return;
    QPainter painter(this);
    for (std::size_t i = 0; i < swatches->size(); ++i) {
        const int index = static_cast<int>(i);
        const QRect square(swatchLeft + swatchStep * (index % swatchesPerRow),
            swatchTop + swatchStep * (index / swatchesPerRow), swatchSize, swatchSize);
        const std::uint32_t cell = (*swatches)[i];
        painter.fillRect(square, Qt::black);
        painter.fillRect(square.adjusted(1, 1, -1, -1), cellColour(cell));
    }
}
