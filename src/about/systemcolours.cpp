#include "systemcolours.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <QSettings>
#include <QStandardPaths>

#include <cstdlib>
#include <optional>

namespace {

std::uint32_t packColour(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red())
        + 256u * static_cast<std::uint32_t>(colour.green())
        + 65536u * static_cast<std::uint32_t>(colour.blue());
}

// Enters the child group whose name equals name without regard to case, as the names of
// the desktop's own colour keys are compared.
bool enterGroup(QSettings& settings, QLatin1String name)
{
    const QStringList groups = settings.childGroups();
    for (const QString& group : groups) {
        if (group.compare(name, Qt::CaseInsensitive) == 0) {
            settings.beginGroup(group);
            return true;
        }
    }
    return false;
}

// The packed colour of a text holding red, green and blue as decimal integers separated
// by white space. Each integer is read as strtol reads it in base 10 (leading white space,
// an optional sign, digits; out of range saturates), and what follows the third one is
// ignored. Fewer than three integers give nothing.
std::optional<std::uint32_t> parseColourText(const QByteArray& text)
{
    const char* position = text.constData();
    std::uint32_t packed = 0;
    for (int component = 0; component < 3; ++component) {
        char* end = nullptr;
        const long value = std::strtol(position, &end, 10);
        if (end == position)
            return std::nullopt;
        position = end;
        packed |= (static_cast<std::uint32_t>(static_cast<unsigned long>(value) & 255u))
            << (8 * component);
    }
    return packed;
}

// The desktop kept each value in a 64-byte buffer with its terminator; a longer text did
// not fit and left its cell alone.
constexpr qsizetype valueBufferSize = 64;

} // namespace

void readPaletteColours(SystemColours& cells)
{
    const QPalette palette = QGuiApplication::palette();
    const auto active = [&palette](QPalette::ColorRole role) {
        return packColour(palette.color(QPalette::Active, role));
    };
    cells[0] = active(QPalette::Midlight); // Scrollbar
    cells[1] = active(QPalette::Mid); // Background
    cells[2] = active(QPalette::Highlight); // ActiveTitle
    cells[3] = active(QPalette::Dark); // InactiveTitle
    cells[4] = active(QPalette::Window); // Menu
    cells[5] = active(QPalette::Base); // Window
    cells[6] = active(QPalette::Shadow); // WindowFrame
    cells[7] = active(QPalette::WindowText); // MenuText
    cells[8] = active(QPalette::Text); // WindowText
    cells[9] = active(QPalette::HighlightedText); // TitleText
    cells[10] = active(QPalette::Button); // ActiveBorder
    cells[11] = active(QPalette::Button); // InactiveBorder
    cells[12] = active(QPalette::Dark); // AppWorkspace
    cells[13] = active(QPalette::Highlight); // Hilight
    cells[14] = active(QPalette::HighlightedText); // HilightText
    cells[15] = active(QPalette::Button); // ButtonFace
    cells[16] = active(QPalette::Dark); // ButtonShadow
    cells[17] = packColour(palette.color(QPalette::Disabled, QPalette::Text)); // GrayText
    cells[18] = active(QPalette::ButtonText); // ButtonText
    cells[19] = active(QPalette::Midlight); // InactiveTitleText
    cells[20] = active(QPalette::Light); // ButtonHilight
    cells[21] = active(QPalette::Shadow); // ButtonDkShadow
    cells[22] = active(QPalette::Midlight); // ButtonLight
    cells[23] = active(QPalette::ToolTipText); // InfoText
}

QString colourSchemePath()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)
        + QStringLiteral("/colours.ini");
}

bool readSystemColours(SystemColours& cells)
{
    return readSystemColours(cells, colourSchemePath());
}

bool readSystemColours(SystemColours& cells, const QString& filePath)
{
    // A pipe or a device would hold the start up until something wrote to it. A scheme of 24
    // short lines is far smaller than this, and a larger file could hold a typed value
    // ("@Variant(...)") nested deep enough to overflow the stack as it is decoded.
    constexpr qint64 largestFile = 64 * 1024;
    const QFileInfo info(filePath);
    if (!info.isFile() || info.size() > largestFile)
        return false;
    QSettings settings(filePath, QSettings::IniFormat);
    if (settings.status() == QSettings::AccessError)
        return false;
    if (!enterGroup(settings, QLatin1String("Control Panel"))
        || !enterGroup(settings, QLatin1String("Colors")))
        return false;

    const QStringList keys = settings.childKeys();
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const QLatin1String name(systemColourNames[i]);
        for (const QString& key : keys) {
            if (key.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            // A list ("1,2,3") or a typed value ("@Point(...)") is not a plain text.
            const QVariant value = settings.value(key);
            if (value.typeId() != QMetaType::QString)
                break;
            const QByteArray text = value.toString().toUtf8();
            if (text.size() + 1 > valueBufferSize)
                break;
            if (const std::optional<std::uint32_t> colour = parseColourText(text))
                cells[i] = *colour;
            break;
        }
    }
    return true;
}
