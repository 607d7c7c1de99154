#include "ui/services/MessageBoxService.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QString>

std::string MessageCaption() {
    return QCoreApplication::applicationName().toStdString();
}

void QtMessageBoxService::Show(QWidget* owner, std::string_view text, MessageIcon icon) {
    QMessageBox::Icon boxIcon = QMessageBox::Warning;
    switch (icon) {
        case MessageIcon::Information:
            boxIcon = QMessageBox::Information;
            break;
        case MessageIcon::Exclamation:
            boxIcon = QMessageBox::Warning;
            break;
        case MessageIcon::Error:
            boxIcon = QMessageBox::Critical;
            break;
        case MessageIcon::Question:
            boxIcon = QMessageBox::Question;
            break;
        case MessageIcon::None:
            boxIcon = QMessageBox::NoIcon;
            break;
    }
    QMessageBox box(boxIcon, QString::fromStdString(MessageCaption()),
                    QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())),
                    QMessageBox::Ok, owner);
    box.exec();
}
