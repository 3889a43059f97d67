// The project file: Windows-1252 text with CR LF line ends.
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstring>
#include <utility>

#include "CellBodyText.h"
#include "EngineText.h"
#include "OutputFile.h"
#include "RegularFile.h"
#include "TGraphBlock.h"
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
// the last line has been read. Lines are decoded only when read, so the file
// is never held as one string per line (a file of empty lines would take
// many times its size). A NUL byte ends its line's text.
class LineReader {
 public:
  explicit LineReader(QByteArray bytes) : bytes_(std::move(bytes)) {}
  bool AtEnd() const { return next_ >= bytes_.size(); }
  QString Read() {
    if (AtEnd()) return {};
    qsizetype end = bytes_.indexOf('\n', next_);
    if (end < 0) end = bytes_.size();
    qsizetype stop = end;
    if (stop > next_ && bytes_[stop - 1] == '\r') --stop;
    // Only within the line: a search to the end of the file for every line would be quadratic.
    if (const void* nul = std::memchr(bytes_.constData() + next_, 0, static_cast<size_t>(stop - next_)))
      stop = static_cast<const char*>(nul) - bytes_.constData();
    const qsizetype start = std::exchange(next_, end + 1);
    if (stop == start) return {};  // no allocation for an empty line
    return enginetext::ToQString(std::string_view(bytes_.constData() + start, static_cast<size_t>(stop - start)));
  }

 private:
  QByteArray bytes_;
  qsizetype next_ = 0;
};

// The number of lines as the reader splits them.
qsizetype CountLines(const QByteArray& bytes) {
  const qsizetype breaks = bytes.count('\n');
  return breaks + (!bytes.isEmpty() && !bytes.endsWith('\n') ? 1 : 0);
}

}  // namespace

QByteArray TTarvixPlusModel::SaveToBytes() const {
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
  return cellbody::BytesFromLines(lines);
}

bool TTarvixPlusModel::SaveToFile(const QString& fileName) {
  if (fileName.isEmpty()) return false;
  // The old file is replaced only once the new one is completely on disk,
  // and a device node is never replaced by a regular file.
  const QByteArray bytes = SaveToBytes();
  QString problem;
  if (!outputfile::Write(fileName, bytes, problem))
    throw TModelError{QStringLiteral("Die Projektdatei %1 konnte nicht gespeichert werden:\r%2").arg(fileName, problem)};
  return true;
}

void TTarvixPlusModel::ReportLoad(const QString& text, bool lost) {
  Ui().ErrorBox(text);
  if (lost) loadLosses_ << text;
}

bool TTarvixPlusModel::LoadFromFile(const QString& fileName) {
  fileName_ = fileName;
  loadLosses_.clear();
  if (!QFileInfo::exists(fileName)) return true;
  QByteArray bytes;
  QString problem;
  if (!regularfile::Read(fileName, regularfile::kMaxProjectBytes, bytes, problem)) {
    Ui().ErrorBox(QStringLiteral("Die Projektdatei %1 konnte nicht gelesen werden:\r%2").arg(fileName, problem));
    return false;
  }
  return LoadFromBytes(std::move(bytes), fileName);
}

bool TTarvixPlusModel::LoadFromBytes(QByteArray bytes, const QString& fileName) {
  fileName_ = fileName;
  loadLosses_.clear();
  // Every line costs a string while its section is read: beyond this many
  // the file is refused rather than filling the memory.
  if (const qsizetype count = CountLines(bytes); count > regularfile::kMaxProjectLines) {
    Ui().ErrorBox(QStringLiteral("Die Projektdatei %1 konnte nicht gelesen werden:\rSie hat %2 Zeilen (höchstens %3)!")
                      .arg(fileName)
                      .arg(count)
                      .arg(regularfile::kMaxProjectLines));
    return false;
  }
  // A NUL byte would cut the text at that place once it reaches the engine;
  // the cut is made here, and said.
  if (const qsizetype firstNul = bytes.indexOf('\0'); firstNul >= 0) {
    qsizetype count = 0;
    for (qsizetype nul = firstNul; nul >= 0;) {
      ++count;
      const qsizetype end = bytes.indexOf('\n', nul);
      nul = end < 0 ? -1 : bytes.indexOf('\0', end);
    }
    const qsizetype line = QByteArrayView(bytes.constData(), firstNul).count('\n') + 1;
    ReportLoad(QStringLiteral("Die Projektdatei %1 enthält in Zeile %2 ein NUL-Zeichen; der Rest der Zeile geht verloren%3!")
                   .arg(fileName)
                   .arg(line)
                   .arg(count > 1 ? QStringLiteral(" (ebenso in %1 weiteren Zeilen)").arg(count - 1) : QString()),
               true);
  }
  LineReader in(std::move(bytes));
  // A section without its end marker: the file was cut there, and what
  // followed is lost.
  auto reportCut = [&](const QString& detail) {
    ReportLoad(QStringLiteral("Unvollständige Projektdatei %1:\r%2").arg(fileName, detail), true);
  };

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
    bool ended = false;
    while (!in.AtEnd()) {
      QString text = in.Read();
      if ((ended = text.contains(QStringLiteral("#COMMENT_END")))) break;
      comment_ << text;
    }
    if (!ended) reportCut(QStringLiteral("Der Kommentar endet ohne #COMMENT_END."));
    pending = false;
  }

  int32_t previousId = 0;
  std::vector<bool> usedIds(0x10000, false);
  for (const auto& cell : cells_) usedIds[static_cast<size_t>(cell->CellId() & 0xFFFF)] = true;
  int32_t freeHint = 1;
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
      bool ended = false;
      while (!in.AtEnd()) {
        QString text = in.Read();
        if ((ended = text == QStringLiteral("#TABLE_END"))) break;
        body << text;
      }
      if (!ended) reportCut(QStringLiteral("Die Tabelle %1 endet ohne #TABLE_END.").arg(tables_.size() + 1));
      if (!body.isEmpty()) {
        QString missing;
        auto table = std::make_unique<TConversionTable>(TConversionTable::FromBody(body, &missing));
        if (!missing.isEmpty()) ReportLoad(missing, true);
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
      bool ended = false;
      while (!in.AtEnd()) {
        QString text = in.Read();
        if ((ended = text == QStringLiteral("#CELL_END"))) break;
        body << text;
      }
      if (!ended) reportCut(QStringLiteral("Die Programmzelle %1 endet ohne #CELL_END.").arg(cellId));
      if (!body.isEmpty()) ReadCellSection(cellId, body, previousId, usedIds, freeHint);
    } else {
      Ui().ErrorBox(QStringLiteral("Falscher Zellenbeginn in %1:\r%2").arg(fileName, line));
      return false;
    }
    if (in.AtEnd()) return true;
  }
}

void TTarvixPlusModel::ReadCellSection(int32_t cellId, const QStringList& body, int32_t& previousId,
                                       std::vector<bool>& usedIds, int32_t& freeHint) {
  int32_t id = cellId;
  // An id that another cell already has (or none can have) would make block
  // ids ambiguous in the engine: the cell gets a free id of its own. Ids
  // are only taken while reading, so the smallest free one only grows.
  if (id < 1 || id > 0xFFFE || usedIds[static_cast<size_t>(id)]) {
    while (freeHint <= 0xFFFE && usedIds[static_cast<size_t>(freeHint)]) ++freeHint;
    if (freeHint > 0xFFFE) {
      ReportLoad(QStringLiteral("Fehler beim Lesen der Programmzelle %1!").arg(cellId), true);
      return;
    }
    ReportLoad(QStringLiteral("Die Programmzelle %1 kommt mehrfach vor oder hat eine ungültige Nummer; sie erhält die Nummer %2.")
                   .arg(cellId)
                   .arg(freeHint),
               false);
    id = freeHint;
  }
  usedIds[static_cast<size_t>(id)] = true;
  auto cell = std::make_unique<TBlockList>(id, engine_);
  PlexorAddPage(engine_, id, previousId);
  previousId = id;
  QString detail;
  bool read = false, pushed = false, threw = false;
  try {
    read = cell->ReadFromLines(true, body, id, &detail);
    pushed = cell->PushToEngine();
  } catch (const std::exception&) {
    threw = true;
  }
  QStringList details;
  // A header that does not read rejects the body without a message as long
  // as nothing else is lost with it.
  const bool moreThanHeader =
      std::any_of(body.begin() + 1, body.end(), [](const QString& line) { return !line.isEmpty(); });
  const bool lost = threw || (!read && (!detail.isEmpty() || moreThanHeader));
  if (!detail.isEmpty()) details << detail;
  bool unknown = false;
  for (int i = 0; i < cell->Count(); ++i) {
    const auto* block = dynamic_cast<const TGraphBlock*>(cell->Items(i));
    if (!block || block->InEngine()) continue;
    unknown = true;
    details << QStringLiteral("Block %1 hat den unbekannten Blocktyp %2.").arg(block->Id()).arg(block->TypeId());
  }
  if (!pushed && !unknown && read)
    details << QStringLiteral("Die DLL hat nicht alle Blöcke, Verbindungen und Parameter der Zelle angenommen.");
  if (lost || !pushed) {
    QString text = QStringLiteral("Fehler beim Lesen der Programmzelle %1!").arg(id);
    if (!details.isEmpty()) text += QLatin1Char('\r') + details.join(QLatin1Char('\r'));
    ReportLoad(text, true);
  }
  cells_.push_back(std::move(cell));
}

int32_t TTarvixPlusModel::FindBlockOutsideEngine() const {
  for (const auto& cell : cells_)
    for (int i = 0; i < cell->Count(); ++i)
      if (const auto* block = dynamic_cast<const TGraphBlock*>(cell->Items(i)); block && !block->InEngine())
        return block->Id();
  return 0;
}
