// TWindowFactory: creates the station's windows by class name.
//
// The frame opens windows through it (menu items, the project tree, the
// simulation driver) and so does the desktop file, which stores each open
// window by its class name. A window class is one registration away from
// the frame: RegisterStationWindows() lists them all.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;
class TTarvixPlusModel;

class TWindowFactory {
 public:
  enum class Kind {
    Document,  // a TMDIChildForm in the frame's MDI area
    Tool,      // a stay-on-top TToolWindow (simulator panels)
  };
  using Creator = std::function<QWidget*(TTarvixPlusModel* model, QWidget* parent)>;

  // A later registration of the same name replaces the earlier one.
  static void Register(const QString& className, Kind kind, Creator creator);
  static bool Has(const QString& className);
  static Kind KindOf(const QString& className);
  // Null for an unknown name.
  static QWidget* Create(const QString& className, TTarvixPlusModel* model, QWidget* parent = nullptr);
  static QStringList Names();

  template <typename T>
  static void Register(Kind kind) {
    Register(QString::fromLatin1(T::staticMetaObject.className()), kind,
             [](TTarvixPlusModel* model, QWidget* parent) -> QWidget* { return new T(model, parent); });
  }
};

// Registers every window class of the station (StationWindows.cpp).
// RegisterStationWindows() (StationWindows.h) registers every window class.
