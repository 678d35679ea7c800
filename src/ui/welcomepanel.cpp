#include "welcomepanel.h"

#include "levelnames.h"

#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace {

// Every text wraps at the panel's width, headings too: a translation may be longer.
QLabel* paragraph(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

QLabel* heading(const QString& text, int pixelSize, QWidget* parent)
{
    QLabel* label = paragraph(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(pixelSize);
    label->setFont(font);
    return label;
}

constexpr QMargins margins(8, 6, 8, 6);
constexpr int gap = 4; // between lines
constexpr int buttonGap = 6; // between the buttons of a row
constexpr QSize smallestButton(64, 23);

} // namespace

WelcomePanel::WelcomePanel(QWidget* parent)
    : QWidget(parent)
{
    const PlannerLevel levels[] = { PlannerLevel::Easy, PlannerLevel::Normal, PlannerLevel::Hard };
    for (int i = 0; i < 3; ++i) {
        const PlannerLevel level = levels[i];
        levelButtons[i] = new QPushButton(levelName(level), this);
        connect(levelButtons[i], &QPushButton::clicked, this,
            [this, level] { Q_EMIT levelChosen(level); });
    }
    listenButton = new QPushButton(tr("Escutar"), this);
    connect(listenButton, &QPushButton::clicked, this, &WelcomePanel::listenChosen);
    connectButton = new QPushButton(tr("Conectar..."), this);
    connect(connectButton, &QPushButton::clicked, this, &WelcomePanel::connectChosen);
    // Enter belongs to the chat line's "Enviar", not to whichever of these has the focus.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);

    addText(heading(tr("Para começar a jogar"), 14, this));
    addText(heading(tr("Contra o computador"), 11, this), 6);
    addText(paragraph(tr("Escolha o nível: a partida começa logo."), this));
    addButtons({ levelButtons[0], levelButtons[1], levelButtons[2] });
    addText(heading(tr("Contra um amigo"), 11, this), 8);
    addText(paragraph(tr("Um dos dois escuta, e dá ao outro o endereço deste "
                         "computador, que o registo mostra, e o porto."),
        this));
    addButtons({ listenButton });
    addText(paragraph(tr("O outro escreve-os em baixo e carrega em Conectar."), this));
    addButtons({ connectButton });
}

void WelcomePanel::addText(QLabel* text, int spaceAbove)
{
    lines.push_back({ spaceAbove, text, {} });
}

void WelcomePanel::addButtons(QList<QPushButton*> buttons)
{
    lines.push_back({ 0, nullptr, std::move(buttons) });
}

void WelcomePanel::resizeEvent(QResizeEvent*) { placeLines(); }

// Placed by hand, top to bottom, each text as high as its lines at the panel's width: a box
// layout would measure every wrapped paragraph several times over, at widths it never uses.
void WelcomePanel::placeLines()
{
    const int width = this->width() - margins.left() - margins.right();
    int top = margins.top();
    for (const Line& line : lines) {
        top += line.spaceAbove;
        int height = 0;
        if (line.text) {
            height = line.text->heightForWidth(width);
            line.text->setGeometry(margins.left(), top, width, height);
        }
        int left = margins.left();
        for (QPushButton* button : line.buttons) {
            const QSize size = button->sizeHint().expandedTo(smallestButton);
            button->setGeometry(left, top, size.width(), size.height());
            left += size.width() + buttonGap;
            height = std::max(height, size.height());
        }
        top += height + gap;
    }
}

QList<QWidget*> WelcomePanel::tabStops() const
{
    return { levelButtons[0], levelButtons[1], levelButtons[2], listenButton, connectButton };
}
