// The project file: Windows-1252 text with CR LF line ends.
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "CellBodyText.h"
#include "TTarvixPlusModel.h"
#include "UserInterface.h"

namespace {

TUserInterface& Ui() { return TUserInterface::Current(); }

// A whole decimal number as the project file writes them, nothing else.
bool ToInt(const QString& text, int32_t& value) {
  if (text.isEmpty() || text.size() > 11) return false;
  qsizetype i = text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+') ? 1 : 0;
  if (i == text.size()) return false;
  for (qsizetype k = i; k < text.size(); ++k)
    if (text[k] < QLatin1Char('0') || text[k] > QLatin1Char('9')) return false;
  bool ok = false;
  qlonglong v = text.toLongLong(&ok);
  if (!ok || v < INT32_MIN || v > INT32_MAX) return false;
  value = static_cast<int32_t>(v);
  return true;
}

// Reads lines one by one as a text file reader does: "at the end" holds once
// the last line has been read.
class LineReader {
 public:
  explicit LineReader(QStringList lines) : lines_(std::move(lines)) {}
  bool AtEnd() const { return next_ >= lines_.size(); }
  QString Read() { return AtEnd() ? QString() : lines_[next_++]; }

 private:
  QStringList lines_;
  qsizetype next_ = 0;
};

}  // namespace

bool TTarvixPlusModel::SaveToFile(const QString& fileName) {
  if (fileName.isEmpty()) return false;
  QStringList lines;
  lines << QString::fromLatin1(kFileHeader) << QStringLiteral("Version=1.0") << QString::number(nextTableNumber_)
        << QString();
  if (!comment_.isEmpty()) lines << QStringLiteral("#COMMENT_START") << comment_ << QStringLiteral("#COMMENT_END") << QString();
  for (const auto& table : tables_) {
    lines << QStringLiteral("#TABLE_START");
    table->WriteBody(lines);
    lines << QStringLiteral("#TABLE_END") << QString();
  }
  for (const auto& cell : cells_) {
    lines << QStringLiteral("#CELL_START");
    cell->WriteToLines(true, lines);
    lines << QStringLiteral("#CELL_END") << QString();
  }
  // The old file is replaced only once the new one is completely on disk.
  // Unbuffered, so that a full disk fails the write itself: a buffered
  // QSaveFile can lose that error and commit an empty file.
  const QByteArray bytes = cellbody::BytesFromLines(lines);
  QSaveFile file(fileName);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || file.write(bytes) != bytes.size() || !file.commit())
    throw TModelError{QStringLiteral("Die Projektdatei %1 konnte nicht gespeichert werden:\r%2").arg(fileName, file.errorString())};
  return true;
}

bool TTarvixPlusModel::LoadFromFile(const QString& fileName) {
  fileName_ = fileName;
  QFile file(fileName);
  if (!file.exists()) return true;
  if (!file.open(QIODevice::ReadOnly)) {
    Ui().ErrorBox(QStringLiteral("Die Projektdatei %1 konnte nicht gelesen werden:\r%2").arg(fileName, file.errorString()));
    return false;
  }
  LineReader in(cellbody::LinesFromBytes(file.readAll()));
  file.close();

  if (in.Read() != QString::fromLatin1(kFileHeader)) {
    Ui().ErrorBox(QStringLiteral("%1 ist keine gültige Projektdatei!").arg(fileName));
    fileName_.clear();
    return false;
  }
  {
    QString version = in.Read();
    qsizetype eq = version.indexOf(QLatin1Char('='));
    if (eq >= 0) version = version.mid(eq + 1);
    qsizetype dot = version.indexOf(QLatin1Char('.'));
    int32_t major = -1, minor = -1;
    bool ok = dot >= 0 && ToInt(version.left(dot), major) && ToInt(version.mid(dot + 1), minor);
    if (!ok || major != 1 || minor != 0) {
      Ui().ErrorBox(QStringLiteral("%1 hat eine falsche Versionsnummer!").arg(fileName));
      return false;
    }
  }
  QString line = in.Read();
  int32_t counter = 0;
  if (ToInt(line, counter)) {
    nextTableNumber_ = static_cast<uint16_t>(counter);
    line = in.Read();
  } else {
    nextTableNumber_ = 1;
  }
  while (line.isEmpty() && !in.AtEnd()) line = in.Read();

  bool pending = true;  // line is the first line of the section loop
  if (line.contains(QStringLiteral("#COMMENT_START"))) {
    while (!in.AtEnd()) {
      QString text = in.Read();
      if (text.contains(QStringLiteral("#COMMENT_END"))) break;
      comment_ << text;
    }
    pending = false;
  }

  int32_t previousId = 0;
  for (;;) {
    if (!pending) {
      line.clear();
      while (line.isEmpty() && !in.AtEnd()) line = in.Read();
    }
    pending = false;
    // The end of the file, or a last line that is not empty: nothing follows.
    if (line.isEmpty() || in.AtEnd()) return true;

    if (line == QStringLiteral("#TABLE_START")) {
      QStringList body;
      while (!in.AtEnd()) {
        QString text = in.Read();
        if (text == QStringLiteral("#TABLE_END")) break;
        body << text;
      }
      if (!body.isEmpty()) {
        auto table = std::make_unique<TConversionTable>(TConversionTable::FromBody(body));
        tables_.push_back(std::move(table));
        tables_.back()->Number = static_cast<uint16_t>(tables_.size());
      }
    } else if (line == QStringLiteral("#CELL_START")) {
      QString idLine = in.Read();
      if (idLine.size() <= 3 || !idLine.startsWith(QStringLiteral("ID="))) {
        Ui().ErrorBox(QStringLiteral("Falsche Zellen-ID in %1!").arg(fileName));
        return false;
      }
      int32_t cellId = 0;
      if (!ToInt(idLine.mid(3), cellId)) {
        Ui().ErrorBox(QStringLiteral("Falsche Zellen-ID in %1!").arg(fileName));
        return false;
      }
      QStringList body;
      while (!in.AtEnd()) {
        QString text = in.Read();
        if (text == QStringLiteral("#CELL_END")) break;
        body << text;
      }
      if (!body.isEmpty()) ReadCellSection(cellId, body, previousId);
    } else {
      Ui().ErrorBox(QStringLiteral("Falscher Zellenbeginn in %1:\r%2").arg(fileName, line));
      return false;
    }
    if (in.AtEnd()) return true;
  }
}

void TTarvixPlusModel::ReadCellSection(int32_t cellId, const QStringList& body, int32_t& previousId) {
  int32_t id = cellId & 0xFFFF;
  // An id that another cell already has (or none can have) would make block
  // ids ambiguous in the engine: the cell gets a free id of its own.
  if (id == 0 || id == 0xFFFF || FindCell(id)) {
    int32_t fresh = FindFreeCellId();
    if (fresh == 0) {
      Ui().ErrorBox(QStringLiteral("Fehler beim Lesen der Programmzelle %1!").arg(cellId));
      return;
    }
    Ui().ErrorBox(QStringLiteral("Die Programmzelle %1 kommt mehrfach vor oder hat eine ungültige Nummer; sie erhält die Nummer %2.")
                      .arg(cellId)
                      .arg(fresh));
    id = fresh;
  }
  auto cell = std::make_unique<TBlockList>(id, engine_);
  PlexorAddPage(engine_, id, previousId);
  previousId = id;
  // A body whose header does not read leaves the cell empty under its
  // provisional name, without a message; broken block records report
  // themselves. Only an unexpected failure is reported here.
  try {
    cell->ReadFromLines(true, body, id);
    cell->PushToEngine();
  } catch (const std::exception&) {
    Ui().ErrorBox(QStringLiteral("Fehler beim Lesen der Programmzelle %1!").arg(id));
  }
  cells_.push_back(std::move(cell));
}
