#include "ErrnoText.h"

#include <cerrno>
#include <cstring>

namespace errnotext {
namespace {

const char* Words(int error) {
  switch (error) {
    case EPERM: return "Vorgang nicht erlaubt";
    case ENOENT: return "Datei oder Verzeichnis nicht gefunden";
    case EINTR: return "Unterbrochen";
    case EIO: return "Ein-/Ausgabefehler";
    case ENXIO: return "Gerät oder Adresse nicht vorhanden";
    case EBADF: return "Ungültiger Dateideskriptor";
    case EAGAIN: return "Vorübergehend nicht verfügbar";
    case ENOMEM: return "Nicht genügend Speicher";
    case EACCES: return "Keine Berechtigung";
    case EBUSY: return "Gerät oder Ressource belegt";
    case EEXIST: return "Datei existiert bereits";
    case EXDEV: return "Verweis über Dateisystemgrenzen hinweg";
    case ENODEV: return "Gerät nicht vorhanden";
    case ENOTDIR: return "Ist kein Verzeichnis";
    case EISDIR: return "Ist ein Verzeichnis";
    case EINVAL: return "Ungültiges Argument";
    case ENFILE:
    case EMFILE: return "Zu viele offene Dateien";
    case ENOTTY: return "Ist kein Terminal";
    case ETXTBSY: return "Programmdatei wird gerade benutzt";
    case EFBIG: return "Datei zu groß";
    case ENOSPC: return "Kein Platz mehr auf dem Gerät";
    case ESPIPE: return "Ungültige Positionierung";
    case EROFS: return "Dateisystem nur lesbar";
    case EPIPE: return "Gegenstelle geschlossen";
    case ENAMETOOLONG: return "Dateiname zu lang";
    case ELOOP: return "Zu viele Ebenen symbolischer Verknüpfungen";
    case EDQUOT: return "Speicherkontingent überschritten";
    case ETIMEDOUT: return "Zeitüberschreitung";
    default: return nullptr;
  }
}

}  // namespace

QString German(int error) {
  const char* words = Words(error);
  const QString text = words ? QString::fromUtf8(words) : QString::fromLocal8Bit(std::strerror(error));
  return QStringLiteral("%1 (errno %2)").arg(text).arg(error);
}

QString ShortName(const QString& name) {
  constexpr qsizetype kHead = 60;
  constexpr qsizetype kTail = 20;
  if (name.size() <= kHead + kTail + 1) return name;
  return name.left(kHead) + QChar(0x2026) + name.right(kTail) + QStringLiteral(" (%1 Zeichen)").arg(name.size());
}

}  // namespace errnotext
