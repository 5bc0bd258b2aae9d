#include "desktop/QtDialogs.h"

#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

Answer QtDialogs::messageBox(const MessageBoxRequest& request) {
    QMessageBox box(owner());
    box.setWindowTitle(request.title);
    // Rich text only where the rules marked digits: they built it from escaped text and numbers.
    box.setTextFormat(request.marked.isEmpty() ? Qt::PlainText : Qt::RichText);
    box.setText(request.marked.isEmpty() ? request.text : request.marked);
    if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
        label->setAccessibleDescription(request.markedInWords);
    box.setIcon(request.questionIcon ? QMessageBox::Question : QMessageBox::NoIcon);
    if (request.yesNo) {
        QPushButton* yes = box.addButton(QStringLiteral("Sì"), QMessageBox::YesRole);
        QPushButton* no = box.addButton(QStringLiteral("No"), QMessageBox::NoRole);
        box.setEscapeButton(no);
        box.setDefaultButton(request.defaultButton == Answer::Yes ? yes : no);
        box.exec();
        return box.clickedButton() == yes ? Answer::Yes : Answer::No;
    }
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    box.setEscapeButton(ok);
    box.setDefaultButton(ok);
    box.exec();
    return Answer::Ok;
}

QString QtDialogs::inputBox(const QString& prompt, const QString& title,
                            const QString& defaultText) {
    QInputDialog box(owner());
    box.setWindowTitle(title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    box.setOkButtonText(QStringLiteral("OK"));
    box.setCancelButtonText(QStringLiteral("Annulla"));
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}
