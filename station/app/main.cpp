// Vorblen: the development station for Tarvix plus units.
//
//   Vorblen [PROJECT.tvp]    opens the project after the last session's desktop
//   Vorblen --help | --version
#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTimer>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ApplySettings.h"
#include "TBlockCatalogue.h"
#include "TImagesCatalogueSource.h"
#include "TSettingsStore.h"
#include "TStationSettings.h"
#include "TRecoveryController.h"
#include "TTarvixForm.h"
#include "TVorblenServices.h"
#include "TWidgetUserInterface.h"
#include "WindowIcons.h"
#include "StationWindows.h"
#include "TSplashForm.h"

namespace {

constexpr const char* kVersion = "1.10";

void PrintHelp() {
  std::printf(
      "Aufruf: Vorblen [PROJEKT.tvp]\n"
      "\n"
      "Die Entwicklungsstation für Tarvix plus: Programme aus Funktionsblöcken\n"
      "zeichnen, compilieren, simulieren und in die Tarvix-Unit übertragen.\n"
      "\n"
      "  PROJEKT.tvp   öffnet dieses Projekt (nach der Arbeitsumgebung der\n"
      "                letzten Sitzung aus Vorblen.DSK im aktuellen Verzeichnis)\n"
      "  --help        zeigt diese Hilfe\n"
      "  --version     zeigt die Version\n"
      "\n"
      "Ohne grafische Anzeige (DISPLAY) startet die Station nicht; auf einem\n"
      "Rechner ohne Bildschirm: xvfb-run Vorblen PROJEKT.tvp\n");
}

// Qt aborts without a display; say so plainly instead.
bool DisplayAvailable() {
  const char* platform = std::getenv("QT_QPA_PLATFORM");
  if (platform && *platform && std::strncmp(platform, "xcb", 3) != 0 && std::strncmp(platform, "wayland", 7) != 0) return true;
  const char* display = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (display && *display) || (wayland && *wayland);
}

}  // namespace

int main(int argc, char** argv) {
  QString project;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      PrintHelp();
      return 0;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      std::printf("Vorblen %s\n", kVersion);
      return 0;
    }
    if (argv[i][0] == '-' && argv[i][1] == '-') {
      std::fprintf(stderr, "Vorblen: unbekannte Option %s (siehe --help)\n", argv[i]);
      return 2;
    }
    project = QString::fromLocal8Bit(argv[i]);
  }
  if (!DisplayAvailable()) {
    std::fprintf(stderr,
                 "Vorblen: keine grafische Anzeige gefunden (DISPLAY ist nicht gesetzt).\n"
                 "Starten Sie die Station in einer grafischen Sitzung oder mit xvfb-run.\n");
    return 1;
  }

  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tarvix/plus"));
  QApplication::setOrganizationName(QString::fromLatin1(TSettingsStore::kOrganization));
  QApplication::setApplicationVersion(QString::fromLatin1(kVersion));
  QApplication::setDesktopFileName(QStringLiteral("vorblen"));
  // Every window without an icon of its own shows the application's.
  QApplication::setWindowIcon(windowicons::Icon(windowicons::Kind::Application));
  // Qt's own buttons and dialogs ("Ja", "Abbrechen", the file dialogs) speak
  // German like the rest of the station; without the translation files
  // (package qt6-translations-l10n) they stay English.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qt"), QStringLiteral("_"),
                        QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtTranslator);

  TWidgetUserInterface ui;
  TUserInterface::SetCurrent(&ui);
  // Settings are read once, before the first window needs them.
  {
    TSettingsStore store;
    if (!store.Problem().isEmpty()) ui.ErrorBox(store.Problem());
    TStationSettings::Current() = store.Load(QCoreApplication::applicationDirPath() + QLatin1Char('/'));
    Apply(TStationSettings::Current());
  }
  QPointer<TSplashForm> splash = TSplashForm::ShowSplash();
  TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>());
  RegisterStationWindows();
  InstallStationHooks(ui);
  // The frame's splash timer ends the splash window.
  TVorblenServices services;
  services.SetSplash(splash);

  int result = 0;
  {
    TTarvixForm frame(&services);
    ui.SetOwner(&frame);
    frame.show();
    if (!project.isEmpty()) {
      // After the desktop file, so the project on the command line wins.
      const QString path = QFileInfo(project).absoluteFilePath();
      QTimer::singleShot(0, &frame, [&frame, path] { frame.OpenProject(path); });
    }
    // Copies of unsaved projects that ended stations left behind.
    QTimer::singleShot(0, &frame, [&frame] { frame.Recovery().OfferCopies(); });
    result = QApplication::exec();
  }
  TBlockCatalogue::Instance().Clear();
  TUserInterface::SetCurrent(nullptr);
  return result;
}
