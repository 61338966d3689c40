#include "ui/support/typing.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>

namespace plumgr::test {

void Type(const QString& text, QWidget* target) {
  for (QChar ch : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
    QWidget* to = target != nullptr ? target : QApplication::focusWidget();
    ASSERT_NE(to, nullptr) << "no widget has the focus";
    QApplication::sendEvent(to, &press);
  }
}

void Retype(QWidget* field, const QString& text) {
  field->setFocus();
  QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(field, Qt::Key_Delete);
  Type(text, field);
}

}  // namespace plumgr::test
