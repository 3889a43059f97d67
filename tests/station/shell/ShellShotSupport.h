// Pictures of the shell's windows in a light and a dark theme for a person
// to look at: set VORBLEN_DIALOG_SHOTS to a directory to get them.
#pragma once

#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <functional>

namespace shots {

inline QPalette DarkPalette() {
  QPalette p;
  p.setColor(QPalette::Window, QColor(0x2b, 0x2b, 0x2b));
  p.setColor(QPalette::WindowText, QColor(0xe6, 0xe6, 0xe6));
  p.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
  p.setColor(QPalette::AlternateBase, QColor(0x2b, 0x2b, 0x2b));
  p.setColor(QPalette::Text, QColor(0xe6, 0xe6, 0xe6));
  p.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
  p.setColor(QPalette::ButtonText, QColor(0xf0, 0xf0, 0xf0));
  p.setColor(QPalette::Light, QColor(0x50, 0x50, 0x50));
  p.setColor(QPalette::Midlight, QColor(0x42, 0x42, 0x42));
  p.setColor(QPalette::Mid, QColor(0x28, 0x28, 0x28));
  p.setColor(QPalette::Dark, QColor(0x1a, 0x1a, 0x1a));
  p.setColor(QPalette::Shadow, QColor(0x0a, 0x0a, 0x0a));
  p.setColor(QPalette::Highlight, QColor(0x3d, 0x7a, 0xd6));
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::ToolTipBase, QColor(0x3a, 0x3a, 0x3a));
  p.setColor(QPalette::ToolTipText, QColor(0xf0, 0xf0, 0xf0));
  p.setColor(QPalette::Link, QColor(0x6c, 0xb4, 0xff));
  p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
  p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
  p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
  return p;
}

// Runs make() once with the light and once with the dark palette and saves
// a picture of each widget it returns as <dir>/<name>-light.png / -dark.png.
inline void Take(const QString& name, const std::function<QWidget*()>& make) {
  const QString dir = qEnvironmentVariable("VORBLEN_DIALOG_SHOTS");
  if (dir.isEmpty()) return;
  QDir().mkpath(dir);
  const QPalette light = QApplication::palette();
  for (const bool dark : {false, true}) {
    QApplication::setPalette(dark ? DarkPalette() : light);
    QWidget* w = make();
    w->show();
    QApplication::processEvents();
    w->grab().save(QDir(dir).filePath(name + (dark ? "-dark.png" : "-light.png")));
    delete w;
  }
  QApplication::setPalette(light);
}

}  // namespace shots
