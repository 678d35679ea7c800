#include "welcomepanel.h"

#include "levelnames.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QLabel* heading(const QString& text, int pixelSize, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    QFont font = label->font();
    font.setBold(true);
    font.setPixelSize(pixelSize);
    label->setFont(font);
    return label;
}

QLabel* paragraph(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

// A row of buttons, left-aligned.
QHBoxLayout* buttonRow(std::initializer_list<QPushButton*> buttons)
{
    auto* row = new QHBoxLayout;
    row->setSpacing(6);
    for (QPushButton* button : buttons) {
        button->setMinimumSize(64, 23);
        row->addWidget(button);
    }
    row->addStretch(1);
    return row;
}

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

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);
    layout->addWidget(heading(tr("Para começar a jogar"), 14, this));
    layout->addSpacing(6);
    layout->addWidget(heading(tr("Contra o computador"), 11, this));
    layout->addWidget(paragraph(tr("Escolha o nível: a partida começa logo."), this));
    layout->addLayout(buttonRow({ levelButtons[0], levelButtons[1], levelButtons[2] }));
    layout->addSpacing(8);
    layout->addWidget(heading(tr("Contra um amigo"), 11, this));
    layout->addWidget(paragraph(tr("Um dos dois escuta, e dá ao outro o endereço deste "
                                   "computador, que o registo mostra, e o porto."),
        this));
    layout->addLayout(buttonRow({ listenButton }));
    layout->addWidget(paragraph(tr("O outro escreve-os em baixo e carrega em Conectar."), this));
    layout->addLayout(buttonRow({ connectButton }));
    layout->addStretch(1);
}

QList<QWidget*> WelcomePanel::tabStops() const
{
    return { levelButtons[0], levelButtons[1], levelButtons[2], listenButton, connectButton };
}
