// Drives a modal dialog from inside its own event loop: the action runs on
// the dialog once it is the active modal widget. A dialog the action leaves
// open is cancelled after a few seconds, so a faulty test fails instead of
// hanging.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QAbstractItemView>
#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest/QTest>

#include <functional>

namespace vt {

inline void WhenModal(std::function<void(QDialog&)> action, int tries = 200) {
  QTimer::singleShot(5, [action, tries] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog) {
      if (tries > 0)
        WhenModal(action, tries - 1);
      else
        ADD_FAILURE() << "no modal dialog appeared";
      return;
    }
    QPointer<QDialog> watched(dialog);
    action(*dialog);
    QTimer::singleShot(5000, [watched] {
      if (watched && watched->isVisible()) {
        ADD_FAILURE() << "dialog left open by the test";
        watched->reject();
      }
    });
  });
}

// The dialog's button by object name; fails the test when missing.
inline QPushButton* Button(QDialog& dialog, const char* name) {
  auto* button = dialog.findChild<QPushButton*>(QLatin1String(name));
  EXPECT_NE(button, nullptr) << name;
  return button;
}

// Types text as key presses; characters beyond ASCII come as text-only keys.
inline void TypeText(QWidget* w, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(w, c.toLatin1());
      continue;
    }
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
  }
}

// Clears a line and types into it as a user would.
inline void Retype(QLineEdit* ed, const QString& text) {
  ed->selectAll();
  QTest::keyClick(ed, Qt::Key_Delete);
  ed->home(false);
  TypeText(ed, text);
}

// The open cell editor of an item view (closed editors linger until deleted).
inline QLineEdit* OpenEditor(QAbstractItemView* view) {
  for (QLineEdit* ed : view->viewport()->findChildren<QLineEdit*>())
    if (ed->isVisible()) return ed;
  return nullptr;
}

// Clicks a button where its text or indicator is: a radio button stretched
// across its frame does not take clicks beside its text.
inline void Click(QAbstractButton* button) {
  if (button) QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

inline void Click(QDialog& dialog, const char* name) {
  Click(Button(dialog, name));
}

}  // namespace vt
