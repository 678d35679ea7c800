#include "helpwindow.h"

#include "boardpainter.h"
#include "gridgeometry.h"
#include "surface.h"
#include "windowplacement.h"

#include "about/aboutdialog.h"

#include <QKeySequence>
#include <QScreen>
#include <QShortcut>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <array>
#include <string_view>

namespace {

using Rows = std::array<std::string_view, Board::Size>; // top to bottom, '#' a ship cell

// The fleet by size: the T and the four along the top, then the threes, the twos and the
// singles, a row of sea between them.
constexpr Rows fleetRows {
    "###..####.",
    ".#........",
    ".#........",
    "..........",
    "###.###...",
    "..........",
    "##.##.##..",
    "..........",
    "#.#.#.#...",
    "..........",
};

// The T of five in its four orientations, each in a box of three by three cells.
constexpr std::array<std::string_view, 3> teeRows {
    "###..#..#.....#",
    ".#...#..###.###",
    ".#..###.#.....#",
};

// Where a whole grid lies in its picture: the row letters, the column digits and their
// shadows, and the shadow frame fit around it.
constexpr GridGeometry pictureGrid { QPoint(17, 4) };
constexpr QSize gridPictureSize(17 + GridGeometry::Extent + 14, 4 + GridGeometry::Extent + 32);

constexpr int CellSpan = GridGeometry::CellSpan;
constexpr QSize teePictureSize(15 * GridGeometry::Pitch + 1, 3 * GridGeometry::Pitch + 1);

Board boardFrom(const Rows& rows, std::uint8_t code)
{
    Board board;
    for (int row = 0; row < Board::Size; ++row)
        for (int column = 0; column < static_cast<int>(rows[row].size()); ++column)
            if (rows[row][column] == '#')
                board.setCell(column, row, code);
    return board;
}

QImage gridPicture(const Board& board, QRgb background, qreal ratio)
{
    Surface surface(gridPictureSize, ratio, background);
    BoardPainter(board, pictureGrid).drawBoard(surface);
    return surface.image();
}

// The four T's as cells of one strip, sea around them and blank between the boxes.
QImage teeStrip(QRgb background, qreal ratio)
{
    const int columns = static_cast<int>(teeRows[0].size());
    Surface surface(teePictureSize, ratio, background);
    const Board none;
    const BoardPainter painter(none, GridGeometry { QPoint(0, 0) });
    surface.selectPen(Surface::Pen::solid(BoardPainter::outlineColour));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < columns; ++column) {
            if (column % 4 == 3)
                continue;
            const bool ship = teeRows[row][column] == '#';
            painter.drawCell(column, row, ship ? CellShip : CellEmpty, surface, 0);
        }
    }
    return surface.image();
}

// One cell of a grid's top-left corner in a code's colour, or highlighted as under the
// pointer; or the plain panel over the enemy grid.
enum class Swatch { Cell, Highlighted, Panel };

struct SwatchEntry {
    const char* name;
    Swatch kind;
    std::uint8_t code;
    const char* meaning;
};

constexpr SwatchEntry swatches[] = {
    { "quorvel:sea.png", Swatch::Cell, CellEmpty,
        QT_TRANSLATE_NOOP("HelpWindow", "Mar: uma casa onde ainda não há nada.") },
    { "quorvel:ship.png", Swatch::Cell, CellShip,
        QT_TRANSLATE_NOOP("HelpWindow",
            "Na grelha da esquerda, um cano da sua esquadra; na da direita, um cano do "
            "adversário que o seu tiro atingiu.") },
    { "quorvel:hit.png", Swatch::Cell, CellHit,
        QT_TRANSLATE_NOOP("HelpWindow", "Um cano da sua esquadra atingido pelo adversário.") },
    { "quorvel:water.png", Swatch::Cell, CellWater,
        QT_TRANSLATE_NOOP("HelpWindow",
            "Água: um tiro que falhou, seu ou do adversário, ou o mar à volta de um barco "
            "afundado.") },
    { "quorvel:revealed.png", Swatch::Cell, BoardPainter::RevealedCode,
        QT_TRANSLATE_NOOP("HelpWindow",
            "No fim de um jogo contra o computador, os canos dele que nenhum tiro encontrou.") },
    { "quorvel:cover.png", Swatch::Cell, CellCover,
        QT_TRANSLATE_NOOP("HelpWindow",
            "A capa que <b>Ocultar</b> põe sobre a sua esquadra; os tiros que recebe continuam "
            "a ver-se. <b>Mostrar</b> tira-a.") },
    { "quorvel:highlighted.png", Swatch::Highlighted, CellEmpty,
        QT_TRANSLATE_NOOP("HelpWindow",
            "A casa apontada pelo rato ou pelas setas: mais pálida, com contorno amarelo.") },
    { "quorvel:panel.png", Swatch::Panel, CellEmpty,
        QT_TRANSLATE_NOOP("HelpWindow",
            "O painel que tapa a grelha da direita enquanto não é altura de disparar, por "
            "exemplo à espera de que o adversário declare a esquadra.") },
};

QUrl swatchName(const SwatchEntry& swatch) { return QUrl(QString::fromLatin1(swatch.name)); }

QImage swatchPicture(const SwatchEntry& swatch, QRgb panel, qreal ratio)
{
    Surface surface(QSize(CellSpan, CellSpan), ratio, panel); // a cell covers it whole
    if (swatch.kind == Swatch::Panel)
        return surface.image();
    Board board;
    board.setCell(0, 0, swatch.code);
    BoardPainter(board, GridGeometry { QPoint(0, 0) })
        .redrawCell(surface, { 0, 0 }, swatch.kind == Swatch::Highlighted);
    return surface.image();
}

QString heading(const QString& anchor, const QString& title)
{
    return QStringLiteral("<h3><a name=\"%1\"></a>%2</h3>").arg(anchor, title);
}

QString image(const QUrl& name, QSize size)
{
    return QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\">")
        .arg(name.toString())
        .arg(size.width())
        .arg(size.height());
}

QString centred(const QString& html)
{
    return QStringLiteral("<p align=\"center\">") + html + QStringLiteral("</p>");
}

} // namespace

HelpWindow::HelpWindow(const SystemColours& colours, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , text(new QTextBrowser(this))
{
    setWindowTitle(tr("Como jogar"));
    setWindowIcon(programIcon());
    // Within the screen, with room to spare for its title bar and the desktop's panels.
    resize(QSize(520, 600).boundedTo(screen()->availableGeometry().size() * 0.9));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    text->setOpenLinks(true);
    text->setOpenExternalLinks(false);
    addPictures(colours);
    text->setHtml(document());

    auto* close = new QShortcut(QKeySequence::Cancel, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

HelpWindow* HelpWindow::present(
    QPointer<HelpWindow>& kept, const SystemColours& colours, QWidget* parent)
{
    return presentKept(kept, [&] { return new HelpWindow(colours, parent); });
}

Board HelpWindow::exampleFleet() { return boardFrom(fleetRows, CellShip); }

// An enemy grid in play, as the replies drew it: a three sunk and ringed with water, two
// hits on a ship still afloat, and three misses.
Board HelpWindow::exampleShots()
{
    Board shots;
    for (int column = 4; column <= 6; ++column)
        shots.setCell(column, 2, CellShip);
    shots.measureShip(5, 2, MarkWater);
    shots.setCell(2, 6, CellShip);
    shots.setCell(2, 7, CellShip);
    for (const GridCell miss : { GridCell { 1, 1 }, GridCell { 8, 4 }, GridCell { 6, 8 } })
        shots.setCell(miss, CellWater);
    return shots;
}

QImage HelpWindow::picture(const QUrl& name) const
{
    return text->document()->resource(QTextDocument::ImageResource, name).value<QImage>();
}

// The pictures are drawn at the screen's resolution and shown at their logical size.
void HelpWindow::addPictures(const SystemColours& colours)
{
    const qreal ratio = devicePixelRatioF();
    const QRgb background = text->palette().color(QPalette::Base).rgb(); // the page's
    const QRgb panel = cellColour(colours[MenuColour]).rgb();
    QTextDocument* pictures = text->document();
    pictures->addResource(
        QTextDocument::ImageResource, fleetPicture, gridPicture(exampleFleet(), background, ratio));
    pictures->addResource(
        QTextDocument::ImageResource, shotsPicture, gridPicture(exampleShots(), background, ratio));
    pictures->addResource(QTextDocument::ImageResource, teePicture, teeStrip(background, ratio));
    for (const SwatchEntry& swatch : swatches)
        pictures->addResource(
            QTextDocument::ImageResource, swatchName(swatch), swatchPicture(swatch, panel, ratio));
}

QString HelpWindow::document() const
{
    const QString fleet = tr("A esquadra");
    const QString rules = tr("Regras da colocação");
    const QString building = tr("Construir a esquadra");
    const QString firing = tr("Os tiros");
    const QString colours = tr("Cores e marcas");
    const QString keyboard = tr("O teclado");
    const QString friendGame = tr("Jogar com um amigo");
    const QString computerGame = tr("Jogar contra o computador");

    QString html;
    html += QStringLiteral("<h2>") + tr("Como jogar") + QStringLiteral("</h2>");
    html
        += tr("<p>Cada jogador esconde uma esquadra de onze barcos na grelha da esquerda, de 10×10 "
              "casas, e dispara à vez contra a grelha do outro, à direita. Ganha o jogo quem "
              "afundar primeiro todos os barcos do adversário.</p>");
    html += QStringLiteral("<p>");
    const std::pair<const char*, const QString*> sections[]
        = { { "fleet", &fleet }, { "rules", &rules }, { "building", &building },
              { "firing", &firing }, { "colours", &colours }, { "keyboard", &keyboard },
              { "friend", &friendGame }, { "computer", &computerGame } };
    for (const auto& [anchor, title] : sections)
        html += QStringLiteral("<a href=\"#%1\">%2</a><br>").arg(QLatin1String(anchor), *title);
    html += QStringLiteral("</p>");

    html += heading(QStringLiteral("fleet"), fleet);
    html += tr("<p>Os dois jogadores têm os mesmos onze barcos, 25 canos ao todo:</p>"
               "<ul><li>1 barco de 5 canos, em forma de T;</li>"
               "<li>1 barco de 4 canos;</li>"
               "<li>2 barcos de 3 canos;</li>"
               "<li>3 barcos de 2 canos;</li>"
               "<li>4 barcos de 1 cano.</li></ul>");
    html += centred(image(fleetPicture, gridPictureSize));
    html += tr("<p>Uma esquadra completa, como a grelha a mostra: em cima o T e o barco de 4, "
               "depois os de 3, os de 2 e os de 1. As linhas têm letras, de A a J, e as colunas "
               "números, de 0 a 9.</p>");

    html += heading(QStringLiteral("rules"), rules);
    html += tr("<p>Os canos de um barco estão ligados pelos lados. Os barcos de 3 e de 4 canos "
               "podem ser direitos ou dobrar (em L, em quadrado...). O de 5 tem sempre a forma de "
               "um T: uma barra de três canos com uma haste de dois a partir do meio da barra, "
               "virado para qualquer dos quatro lados:</p>");
    html += centred(image(teePicture, teePictureSize));
    html += tr("<p>Dois barcos nunca se tocam, nem pelos lados nem pelos cantos: à volta de "
               "cada barco fica pelo menos uma casa de mar. Dois canos lado a lado são sempre do "
               "mesmo barco.</p>");

    html += heading(QStringLiteral("building"), building);
    html += tr("<p>Mal a ligação se estabelece, cada jogador constrói a sua esquadra na grelha "
               "da esquerda. Clique numa casa para lá pôr um cano; um clique com o botão direito, "
               "ou a tecla Delete, tira-o. A caixa <b>Situação actual</b> vai contando os "
               "canos.</p>"
               "<p>O 25.º cano verifica a esquadra: se for válida, fica declarada e o adversário é "
               "avisado; se não for, esse cano sai outra vez e a caixa diz «Corrija o "
               "jogo...».</p>"
               "<p>Ou então carregue em <b>Randomize</b> para uma esquadra ao acaso, as vezes que "
               "quiser, e em <b>Aceitar</b> para a declarar tal como está. Depois da primeira "
               "partida, <b>Frota anterior</b> volta a pôr a última esquadra declarada, "
               "pronta a aceitar.</p>");

    html += heading(QStringLiteral("firing"), firing);
    html += tr("<p>Dispara primeiro quem declarou a esquadra primeiro (se os dois a declararem "
               "ao mesmo tempo, começa quem escutou). Cada turno tem três tiros: clique numa casa "
               "da grelha da direita e espere pela resposta antes do tiro seguinte. Depois do "
               "terceiro, a vez passa ao adversário.</p>"
               "<p>Cada tiro tem a sua resposta:</p>"
               "<ul><li><b>água</b>: a casa fica azul;</li>"
               "<li><b>acertou</b>: a casa fica vermelha e o registo diz o tamanho do barco "
               "(«Acertou num barco de 3 canos.»);</li>"
               "<li><b>afundou</b>: era o último cano do barco; o registo di-lo («Afundou um "
               "barco de 3 canos.») e as casas à volta do barco ficam marcadas como água, porque "
               "lá não pode haver outro barco.</li></ul>");
    html += centred(image(shotsPicture, gridPictureSize));
    html += tr("<p>A grelha da direita a meio de um jogo: um barco de 3 afundado, rodeado de "
               "água; dois canos atingidos de um barco que ainda flutua; três tiros na água.</p>"
               "<p>O jogo acaba quando um jogador perde o último cano. Os dois vêem o resultado "
               "numa caixa; quando a fecham, o resultado conta no placar do título da janela "
               "(por exemplo [ Eu=1 , Adv=0 ]) e começa logo um novo jogo na mesma ligação, com "
               "uma esquadra nova.</p>");

    html += heading(QStringLiteral("colours"), colours);
    html += QStringLiteral("<table cellspacing=\"4\">");
    for (const SwatchEntry& swatch : swatches)
        html += QStringLiteral("<tr><td>%1</td><td valign=\"middle\">%2</td></tr>")
                    .arg(image(swatchName(swatch), QSize(CellSpan, CellSpan)), tr(swatch.meaning));
    html += QStringLiteral("</table>");

    html += heading(QStringLiteral("keyboard"), keyboard);
    html += tr("<ul><li><b>Tab</b>, ou um clique, dá o teclado às grelhas: uma moldura "
               "pontilhada rodeia então a grelha em jogo, a sua enquanto constrói a esquadra, a "
               "do adversário quando dispara.</li>"
               "<li>As <b>setas</b> movem a casa destacada.</li>"
               "<li><b>Espaço</b> ou <b>Enter</b> põe um cano ou dispara.</li>"
               "<li><b>Delete</b> ou <b>Backspace</b> tira um cano.</li>"
               "<li>Fora das grelhas, <b>Enter</b> só envia a linha de conversa.</li>"
               "<li><b>F1</b> abre esta ajuda.</li></ul>");

    html += heading(QStringLiteral("friend"), friendGame);
    html += tr("<p>Cada jogador usa a sua cópia do jogo, e as duas ligam-se por TCP/IP, na "
               "mesma rede ou pela Internet.</p>"
               "<ol><li>Um escuta: escolhe <b>Servidor</b>, escreve o <b>Porto</b> (4000, ou 0 "
               "para o sistema escolher um livre) e carrega em <b>Escutar</b>. A janela mostra "
               "então o porto e os endereços deste computador: diga-os ao outro jogador.</li>"
               "<li>O outro liga-se: escolhe <b>Cliente</b>, escreve o endereço do servidor (um "
               "endereço IPv4 ou IPv6, ou o nome do computador) e o mesmo porto, e carrega em "
               "<b>Conectar</b>.</li></ol>"
               "<p>O porto tem de estar acessível do computador do cliente: abra-o na firewall do "
               "servidor e, pela Internet, encaminhe-o no router. No mesmo computador, use o "
               "endereço 127.0.0.1.</p>"
               "<p>Ligados, podem conversar: escreva na linha por baixo das grelhas e carregue em "
               "Enter ou <b>Enviar</b>. <b>Fechar COM</b> termina a ligação, de qualquer dos "
               "lados.</p>");

    html += heading(QStringLiteral("computer"), computerGame);
    html += tr("<p>No menu <b>Jogo</b> → <b>Jogar contra o computador</b>, escolha o nível: "
               "<b>Fácil</b> dispara ao acaso, <b>Normal</b> procura e, quando acerta, segue o "
               "barco, <b>Difícil</b> dispara onde é mais provável haver um barco, dado tudo o que "
               "os seus tiros já encontraram. O mesmo menu abre com um clique do botão direito na "
               "janela, fora das grelhas.</p>"
               "<p>O computador joga dentro do programa, pelos controlos de ligação; "
               "<b>Fechar COM</b> termina o jogo, e o modo, o porto e o endereço voltam a ser os "
               "que tinha.</p>");
    return html;
}
