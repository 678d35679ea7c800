#include "windowplacement.h"

#include <QPushButton>
#include <QScreen>

#include <algorithm>

void placeOver(QWidget* box, const QWidget& window)
{
    box->adjustSize();
    QRect placed(QPoint(), box->size());
    placed.moveCenter(window.frameGeometry().center());
    // Whole on the window's screen where it fits, however near an edge the window stands.
    if (const QScreen* screen = window.screen()) {
        const QRect room = screen->availableGeometry();
        placed.moveLeft(
            std::max(room.left(), std::min(placed.left(), room.right() + 1 - placed.width())));
        placed.moveTop(
            std::max(room.top(), std::min(placed.top(), room.bottom() + 1 - placed.height())));
    }
    box->move(placed.topLeft());
}

QMessageBox* askFirst(QWidget* window, Qt::WindowModality modality, const QString& title,
    const QString& text, const QString& doIt, QMessageBox::ButtonRole doItRole, const QString& keep,
    std::function<void()> done)
{
    auto* question
        = new QMessageBox(QMessageBox::Question, title, text, QMessageBox::NoButton, window);
    QPushButton* yes = question->addButton(doIt, doItRole);
    QPushButton* no = question->addButton(keep, QMessageBox::RejectRole);
    question->setDefaultButton(no);
    question->setEscapeButton(no);
    question->setAttribute(Qt::WA_DeleteOnClose);
    question->setWindowModality(modality);
    QObject::connect(
        question, &QMessageBox::finished, window, [question, yes, done = std::move(done)] {
            if (question->clickedButton() == yes)
                done();
        });
    placeOver(question, *window);
    question->show();
    return question;
}
