#include "maindialog.h"

#include "controlids.h"
#include "eventlog.h"
#include "fleetguide.h"
#include "gamecanvas.h"
#include "gridgeometry.h"
#include "welcomepanel.h"
#include "windowplacement.h"

#include "about/aboutdialog.h"
#include "about/dialogunits.h"
#include "match/protocol.h"
#include "net/gametexts.h"

#include <QActionGroup>
#include <QApplication>
#include <QButtonGroup>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

#include <ctime>
#include <utility>

namespace {

// The controls are laid out in dialog units, rounded to the nearest pixel; the grids
// beneath them are drawn in pixels.
QRect unitsRect(int x, int y, int width, int height)
{
    return dialogRect(x, y, width, height, DialogRounding::Nearest);
}

template <typename Widget> Widget* place(Widget* widget, const QRect& rect)
{
    widget->setGeometry(rect);
    return widget;
}

QLabel* staticText(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

MainDialog::MainDialog(GameSettings* settings, MatchRecord* played, QWidget* parent)
    : QDialog(parent)
    , remembered(settings)
    , ownRecord(played ? nullptr : std::make_unique<MatchRecord>(QString()))
    , record(played ? played : ownRecord.get())
    , session(*this)
{
    setWindowTitle(gameText(TextId::ClosedTitle));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
        | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    placeSettled = new QTimer(this);
    placeSettled->setSingleShot(true);
    placeSettled->setInterval(PlaceSettleMs);
    connect(placeSettled, &QTimer::timeout, this, &MainDialog::rememberPlace);

    // The page keeps its size; the window grows by the menu bar's height.
    gamePage = new QWidget(this);
    gamePage->setFixedSize(579, 489);
    // The captions must fit rectangles laid out for a narrow 13-pixel font. Sized in pixels,
    // as the layout is, they fit whatever the screen's resolution. The menus keep the
    // desktop's font.
    QFont controlFont(QStringLiteral("DejaVu Sans"));
    controlFont.setPixelSize(11);
    controlFont.setStretch(QFont::SemiCondensed);
    gamePage->setFont(controlFont);

    gameCanvas = new GameCanvas(session.engine(), gamePage);
    gameCanvas->setGeometry(0, 0, 579, 489);
    createControls();
    createMenus();
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(menuBar);
    layout->addWidget(gamePage);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    onInitDialog();
    reportRecord();
}

// The boxes still open go first: closing them must not reach an engine that is gone.
MainDialog::~MainDialog()
{
    for (QDialog* box : findChildren<QDialog*>(Qt::FindDirectChildrenOnly)) {
        disconnect(box, nullptr, this, nullptr);
        delete box;
    }
}

// The icon is the desktop's, for the title bar, the task bar and the program's other windows
// and boxes, and nothing in the window shows it: it is made once the first frame is on the
// screen, as decoding it takes longer than drawing the controls.
void MainDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    if (!std::exchange(iconGiven, true))
        QTimer::singleShot(0, this, [] { QApplication::setWindowIcon(programIcon()); });
}

// In the order a player tabs through them.
void MainDialog::createControls()
{
    modeGroup = place(new QGroupBox(tr("Socket Modo"), gamePage), unitsRect(204, 257, 53, 37));
    serverRadio = place(new QRadioButton(tr("Servidor"), gamePage), unitsRect(210, 267, 43, 10));
    clientRadio = place(new QRadioButton(tr("Cliente"), gamePage), unitsRect(210, 280, 42, 10));
    modeButtons = new QButtonGroup(this);
    modeButtons->addButton(serverRadio, 0);
    modeButtons->addButton(clientRadio, 1);
    listenConnectButton
        = place(new QPushButton(gameText(TextId::Listen), gamePage), unitsRect(205, 238, 50, 14));
    closeComButton
        = place(new QPushButton(tr("Fechar COM"), gamePage), unitsRect(205, 219, 50, 14));
    chatEdit = place(new QLineEdit(gamePage), unitsRect(7, 200, 162, 13));
    // A chat line must fit one read of the receiving side together with its token.
    chatEdit->setMaxLength(static_cast<int>(protocol::MaxChatBytes));
    sendButton = place(new QPushButton(tr("Enviar"), gamePage), unitsRect(171, 200, 29, 14));
    sendButton->setDefault(true);
    addressLabel = place(staticText(tr("IP socket"), gamePage), unitsRect(263, 277, 30, 10));
    addressGroup
        = place(new QGroupBox(tr("Endereço de TCP/IP"), gamePage), unitsRect(260, 248, 119, 46));
    portEdit = place(new QLineEdit(gamePage), unitsRect(294, 259, 43, 12));
    portLabel = place(staticText(tr("Porto"), gamePage), unitsRect(270, 262, 20, 9));
    logList = place(new EventLog(LogEntries, gamePage), unitsRect(7, 217, 193, 77));
    addressEdit = place(new QLineEdit(gamePage), unitsRect(294, 275, 78, 12));
    statusGroup
        = place(new QGroupBox(tr("Situação actual"), gamePage), unitsRect(259, 198, 120, 47));
    // Four lines: a status of two, and the rule the fleet being built breaks under it.
    statusLabel = place(staticText(QString(), gamePage), unitsRect(265, 211, 107, 33));
    statusLabel->setWordWrap(true);
    hideShowButton
        = place(new QPushButton(gameText(TextId::Hide), gamePage), unitsRect(205, 200, 50, 14));
    acceptButton = place(new QPushButton(tr("Aceitar"), gamePage), unitsRect(282, 73, 50, 14));
    randomizeButton = place(new QPushButton(tr("Randomize"), gamePage), unitsRect(281, 47, 50, 14));
    generatorGroup
        = place(new QGroupBox(tr("Gerador de jogo"), gamePage), unitsRect(260, 27, 94, 78));
    // Under the generator, which has no room left: the fleet of the last match again.
    repeatFleetButton
        = place(new QPushButton(tr("Frota anterior"), gamePage), unitsRect(281, 110, 50, 14));
    repeatFleetButton->setToolTip(tr("Coloca de novo a frota da partida anterior, para aceitar."));
    welcome = place(new WelcomePanel(gamePage), QRect(298, 12, 274, 276));

    controls = {
        { IDC_MODE_GROUP, modeGroup },
        { IDC_MODE_SERVER, serverRadio },
        { IDC_MODE_CLIENT, clientRadio },
        { IDC_LISTEN_CONNECT, listenConnectButton },
        { IDC_CLOSE_COM, closeComButton },
        { IDC_CHAT_EDIT, chatEdit },
        { IDC_SEND, sendButton },
        { IDC_ADDRESS_LABEL, addressLabel },
        { IDC_ADDRESS_GROUP, addressGroup },
        { IDC_PORT, portEdit },
        { IDC_PORT_LABEL, portLabel },
        { IDC_LOG, logList },
        { IDC_ADDRESS, addressEdit },
        { IDC_STATUS, statusLabel },
        { IDC_HIDE_SHOW, hideShowButton },
        { IDC_ACCEPT, acceptButton },
        { IDC_RANDOMIZE, randomizeButton },
        { IDC_GENERATOR_GROUP, generatorGroup },
        { IDC_REPEAT_FLEET, repeatFleetButton },
    };
    for (int id : { IDC_CLOSE_COM, IDC_CHAT_EDIT, IDC_SEND, IDC_LOG, IDC_HIDE_SHOW, IDC_ACCEPT,
             IDC_RANDOMIZE, IDC_GENERATOR_GROUP, IDC_REPEAT_FLEET })
        enableControl(id, false);

    // Enter sends the chat line and does nothing else: a button that happens to have the
    // focus (it may have been handed it when another was disabled) must not end the
    // connection or hide the fleet on Enter. Space still presses the focused button.
    for (QPushButton* button : { listenConnectButton, closeComButton, hideShowButton, acceptButton,
             randomizeButton, repeatFleetButton })
        button->setAutoDefault(false);

    // Tab goes from the chat line to the grids, and on to what a match uses; the controls
    // that start or end a connection come last, so that no key one Tab too far from the grids
    // presses "Fechar COM".
    QList<QWidget*> tabOrder { chatEdit, gameCanvas, sendButton, logList, hideShowButton,
        randomizeButton, repeatFleetButton, acceptButton };
    tabOrder << welcome->tabStops();
    tabOrder << QList<QWidget*> { listenConnectButton, serverRadio, clientRadio, portEdit,
        addressEdit, closeComButton };
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);

    // Frames go beneath what they frame, and the grids beneath everything.
    for (QGroupBox* group : { modeGroup, addressGroup, statusGroup, generatorGroup })
        group->lower();
    gameCanvas->lower();

    // The ships still to place, at the foot of the cover panel, under the generator.
    guide = new FleetGuide(gamePage);
    const QRect panel = enemyGrid.fullArea();
    guide->move(panel.center().x() - guide->width() / 2, panel.bottom() - guide->height() - 4);

    MatchEngine& engine = session.engine();
    connect(serverRadio, &QRadioButton::clicked, this, &MainDialog::onModeClicked);
    connect(clientRadio, &QRadioButton::clicked, this, &MainDialog::onModeClicked);
    connect(listenConnectButton, &QPushButton::clicked, this, &MainDialog::onListenConnect);
    connect(closeComButton, &QPushButton::clicked, this, [this] { session.close(); });
    connect(sendButton, &QPushButton::clicked, this, &MainDialog::onSendChat);
    connect(hideShowButton, &QPushButton::clicked, this, [&engine] { engine.toggleFleetShown(); });
    connect(randomizeButton, &QPushButton::clicked, this, [&engine] { engine.randomizeFleet(); });
    connect(
        repeatFleetButton, &QPushButton::clicked, this, [&engine] { engine.repeatLastFleet(); });
    connect(acceptButton, &QPushButton::clicked, this, [&engine] { engine.acceptFleet(); });
    connect(welcome, &WelcomePanel::levelChosen, this, &MainDialog::playComputerAt);
    connect(welcome, &WelcomePanel::listenChosen, this, [this] { startAsPlayer(0); });
    connect(welcome, &WelcomePanel::connectChosen, this, &MainDialog::askForAddress);
}

void MainDialog::onInitDialog()
{
    port = 4000;
    address = QStringLiteral("127.0.0.1");
    socketMode = 0;
    if (remembered) {
        const GameSettings::Values& values = remembered->values();
        port = values.port.value_or(port);
        if (!values.addresses.isEmpty())
            address = values.addresses.first();
        socketMode = values.mode.value_or(socketMode);
        computerGame.level = values.level.value_or(computerGame.level);
        levelChoice->actions()[static_cast<int>(computerGame.level)]->setChecked(true);
        soundsAction->setChecked(values.sounds.value_or(true));
        if (values.position)
            moveOntoScreen(*values.position);
    }
    statusText = tr("Verifique as ligações\ncliente-server.");
    updateData(false);
    offerAddresses();
    updateControls();
    onModeChanged();

    readPaletteColours(systemColours);
    readSystemColours(systemColours);
    gameCanvas->setCoverColour(cellColour(systemColours[MenuColour]));

    session.engine().random().seed(static_cast<RandomSource::result_type>(std::time(nullptr)));
}

// "Escutar" for a server, "Conectar" for a client, which alone needs the server's address.
void MainDialog::onModeChanged()
{
    const bool client = modeButtons->checkedId() == 1;
    listenConnectButton->setText(gameText(client ? TextId::Connect : TextId::Listen));
    addressFollowsMode = true;
    enableControl(IDC_ADDRESS, client && connection == ConnectionChange::Closed);
}

// A radio clicked saves the controls first, as any change of mode by the player does: a port
// that is no port is told at once, and the mode changes all the same.
void MainDialog::onModeClicked()
{
    updateData(true);
    onModeChanged();
}

void MainDialog::onListenConnect() { listenOrConnect(true); }

// A port the window refused leaves everything as it was: the player corrects it and tries
// again.
void MainDialog::listenOrConnect(bool playersChoice)
{
    if (!updateData(true))
        return;
    if (playersChoice)
        rememberPlayerControls();
    if (socketMode == 0)
        session.listen(port);
    else
        session.connectTo(address, port);
}

QWidget* MainDialog::control(int id) const
{
    const auto found = controls.find(id);
    return found == controls.end() ? nullptr : found->second;
}

bool MainDialog::updateData(bool save)
{
    if (!save) {
        // An exclusive group cannot show "none selected"; let go of it for the moment.
        modeButtons->setExclusive(false);
        serverRadio->setChecked(socketMode == 0);
        clientRadio->setChecked(socketMode == 1);
        modeButtons->setExclusive(true);
        portEdit->setText(QString::number(port));
        addressEdit->setText(address);
        statusLabel->setText(statusText);
        return true;
    }

    socketMode = modeButtons->checkedId();
    bool isNumber = false;
    const int typedPort = portEdit->text().toInt(&isNumber, 10);
    if (!isNumber || typedPort < 0 || typedPort > 65535) {
        auto* prompt = new QMessageBox(QMessageBox::Warning, programName(),
            tr("Introduza um número inteiro entre 0 e 65535."), QMessageBox::Ok, this);
        prompt->setAttribute(Qt::WA_DeleteOnClose);
        prompt->setWindowModality(Qt::WindowModal);
        portEdit->setFocus();
        portEdit->selectAll();
        placeOver(prompt, *this);
        prompt->open();
        return false;
    }
    port = typedPort;
    address = addressEdit->text();
    statusText = statusLabel->text();
    return true;
}

void MainDialog::onSysCommand(int id)
{
    if ((id & ~0xF) != IDM_ABOUTBOX)
        return;
    auto* about = new AboutDialog(systemColours, this, [this] { desktopBell.ring(Beep::Default); });
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->setWindowModality(Qt::WindowModal);
    placeOver(about, *this);
    about->open();
}

void MainDialog::onSendChat()
{
    const QString text = chatEdit->text();
    if (text.isEmpty())
        return;
    // A line that did not go stays in the field, to be sent once "Enviar" can again; so does
    // the end of one that a read could not hold whole, to be sent next.
    const QByteArray utf8 = text.toUtf8();
    const std::size_t sent = session.engine().sendChatLine(std::string_view(utf8));
    if (sent > 0)
        chatEdit->setText(QString::fromUtf8(utf8.mid(static_cast<qsizetype>(sent))));
}
