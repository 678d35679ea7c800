#include "eventlog.h"

#include "match/displaytext.h"

#include <QEvent>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>

EventLog::EventLog(int keptLines, QWidget* parent)
    : QListWidget(parent)
    , kept(keptLines)
    , newLines(new QToolButton(this))
{
    setSelectionMode(QAbstractItemView::NoSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    newLines->setFocusPolicy(Qt::NoFocus);
    newLines->hide();
    connect(newLines, &QToolButton::clicked, this, &EventLog::showTop);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == 0) {
            unseen = 0;
            newLines->hide();
        }
    });
}

namespace {

// A line of the log as shown, at most characters long: its control characters (a peer's
// chat may hold any) as visible marks, so that it stays one line.
QString shown(const QByteArray& utf8, qsizetype characters)
{
    return QString::fromStdString(
        displayText(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
            ControlMarks::Pictures, static_cast<std::size_t>(characters)));
}

// A tooltip's text in rows, each broken after its last space when it has one, so that a long
// line fits the screen.
QString inRows(const QString& text)
{
    QString rows;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = std::min(start + EventLog::TooltipRowCharacters, text.size());
        if (end < text.size()) {
            const qsizetype space = text.lastIndexOf(QLatin1Char(' '), end - 1);
            if (space > start)
                end = space + 1;
            if (text[end - 1].isHighSurrogate())
                --end;
            rows += text.mid(start, end - start) + QLatin1Char('\n');
        } else {
            rows += text.mid(start, end - start);
        }
        start = end;
    }
    return rows;
}

} // namespace

void EventLog::addLine(const QString& line)
{
    // Scrolled by whole lines: a line put on top pushes the view down by one unless the
    // view follows it.
    const int position = verticalScrollBar()->value();
    const QByteArray utf8 = line.toUtf8();
    const QString text = shown(utf8, ShownCharacters);
    const QString whole = shown(utf8, TooltipCharacters);
    auto* item = new QListWidgetItem(text);
    if (text != whole
        || fontMetrics().horizontalAdvance(text) > viewport()->width() - 2 * spacing() - 4)
        item->setToolTip(inRows(whole));
    insertItem(0, item);
    trim();
    if (position == 0)
        return;
    executeDelayedItemsLayout(); // so that the scroll range has room for the new line
    verticalScrollBar()->setValue(position + 1);
    ++unseen;
    newLines->setText(unseen == 1 ? tr("▲ 1 linha nova") : tr("▲ %1 linhas novas").arg(unseen));
    placeNewLinesButton();
    newLines->show();
    newLines->raise();
}

void EventLog::trim()
{
    while (count() > kept)
        delete takeItem(kept);
}

void EventLog::showTop()
{
    scrollToTop();
    unseen = 0;
    newLines->hide();
}

// Over the top right corner of the lines, clear of the scroll bar.
void EventLog::placeNewLinesButton()
{
    newLines->adjustSize();
    const QRect lines = viewport()->geometry();
    newLines->move(lines.right() - newLines->width() - 1, lines.top() + 1);
}

void EventLog::changeEvent(QEvent* event)
{
    QListWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !isEnabled())
        showTop();
}
