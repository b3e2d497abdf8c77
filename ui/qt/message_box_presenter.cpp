#include "message_box_presenter.h"

#include "zarn/form/texts.h"

#include <QApplication>
#include <QFontDatabase>
#include <QMessageBox>

namespace zarn::qt {

void MessageBoxPresenter::showMessage(const std::string& text)
{
    QMessageBox box(QMessageBox::NoIcon, form::texts::programTitle,
                    QString::fromStdString(text).replace(u'\r', u'\n'), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    box.exec();
}

} // namespace zarn::qt
