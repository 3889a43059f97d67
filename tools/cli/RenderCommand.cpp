// vorblen-cli render: pictures of cells for documentation and review,
// painted as the cell editor prints them. SVG and PDF stay vector drawings.
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cstdio>
#include <memory>
#include <set>

#include "CliCommands.h"
#include "CliUserInterface.h"
#include "ProjectCommands.h"
#include "TBlockCatalogue.h"
#include "TImagesCatalogueSource.h"
#include "TTarvixPlusModel.h"

namespace cli {
namespace {

constexpr int kScreenDpi = 96;

void Say(const QString& text) { TCliUserInterface::Print(text); }

const TBlockList* FindCell(const TTarvixPlusModel& model, const QString& key) {
  for (const auto& cell : model.Cells())
    if (cell->Name() == key) return cell.get();
  bool ok = false;
  const int32_t id = key.toInt(&ok);
  return ok ? model.FindCell(id) : nullptr;
}

// A cell name as part of a file name: no directories, no control characters.
QString FilePart(const QString& name) {
  QString out;
  for (QChar c : name) out += c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.') ? c : QLatin1Char('_');
  return out.isEmpty() ? QStringLiteral("_") : out;
}

bool WriteSvg(const TBlockList& cell, const QString& fileName) {
  const QSize size = cell.RenderSize();
  QSvgGenerator svg;
  svg.setFileName(fileName);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(kScreenDpi);
  svg.setTitle(QStringLiteral("Zelle %1: \"%2\"").arg(cell.CellId()).arg(cell.Name()));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  cell.Render(painter);
  return painter.end();
}

bool WritePng(const TBlockList& cell, const QString& fileName) {
  const QImage image = cell.RenderImage();
  return !image.isNull() && image.save(fileName, "PNG");
}

// Every cell on a page of its own size.
bool WritePdf(const std::vector<const TBlockList*>& cells, const QString& fileName) {
  QPdfWriter pdf(fileName);
  pdf.setResolution(kScreenDpi);
  pdf.setCreator(QStringLiteral("vorblen-cli"));
  auto pageOf = [](const TBlockList* cell) {
    return QPageSize(QSizeF(cell->RenderSize()) * 72.0 / kScreenDpi, QPageSize::Point, QString(), QPageSize::ExactMatch);
  };
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
  pdf.setPageSize(pageOf(cells.front()));
  QPainter painter;
  if (!painter.begin(&pdf)) return false;
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) {
      pdf.setPageSize(pageOf(cells[i]));
      if (!pdf.newPage()) return false;
    }
    cells[i]->Render(painter);
  }
  return painter.end();
}

}  // namespace

int Render(const QString& project, const QStringList& options) {
  QStringList keys;
  QString out;
  for (qsizetype i = 0; i < options.size(); ++i) {
    const bool hasValue = i + 1 < options.size();
    if (options[i] == QStringLiteral("--cell") && hasValue) {
      keys << options[++i];
    } else if (options[i] == QStringLiteral("-o") && hasValue) {
      out = options[++i];
    } else {
      Say(QStringLiteral("Unbekannte oder ungültige Angabe: %1").arg(options[i]));
      return 1;
    }
  }
  if (out.isEmpty()) {
    Say(QStringLiteral("Geben Sie die Bilddatei mit -o an (.svg, .png oder .pdf)."));
    return 1;
  }
  const QFileInfo target(out);
  const QString format = target.suffix().toLower();
  if (format != QStringLiteral("svg") && format != QStringLiteral("png") && format != QStringLiteral("pdf")) {
    Say(QStringLiteral("Unbekanntes Bildformat \"%1\": die Datei muss auf .svg, .png oder .pdf enden.").arg(target.suffix()));
    return 1;
  }
  // Blocks take their pictures from the catalogue as they are read.
  TBlockCatalogue::Instance().Load(std::make_unique<TImagesCatalogueSource>());
  std::unique_ptr<TTarvixPlusModel> model = LoadProject(project);
  if (!model) return 1;

  std::vector<const TBlockList*> cells;
  for (const QString& key : keys) {
    const TBlockList* cell = FindCell(*model, key);
    if (!cell) {
      Say(QStringLiteral("Die Zelle %1 gibt es im Projekt nicht.").arg(key));
      return 1;
    }
    if (std::find(cells.begin(), cells.end(), cell) == cells.end()) cells.push_back(cell);
  }
  if (keys.isEmpty())
    for (const auto& cell : model->Cells()) cells.push_back(cell.get());
  if (cells.empty()) {
    Say(QStringLiteral("Das Projekt enthält keine Zellen."));
    return 1;
  }

  if (format == QStringLiteral("pdf")) {
    if (!WritePdf(cells, out)) {
      Say(QStringLiteral("Die Datei %1 lässt sich nicht schreiben.").arg(out));
      return 1;
    }
    std::printf("%s\n", out.toUtf8().constData());
    return 0;
  }
  // Several cells: one file each, named after the cell beside the given name.
  const QString stem = target.dir().filePath(target.completeBaseName());
  std::set<QString> used;
  for (const TBlockList* cell : cells) {
    QString fileName = out;
    if (cells.size() > 1) {
      fileName = QStringLiteral("%1-%2.%3").arg(stem, FilePart(cell->Name()), target.suffix());
      if (!used.insert(fileName).second)
        fileName = QStringLiteral("%1-%2-%3.%4").arg(stem, FilePart(cell->Name())).arg(cell->CellId()).arg(target.suffix());
    }
    const bool written = format == QStringLiteral("svg") ? WriteSvg(*cell, fileName) : WritePng(*cell, fileName);
    if (!written) {
      Say(QStringLiteral("Die Datei %1 lässt sich nicht schreiben.").arg(fileName));
      return 1;
    }
    std::printf("%s\n", fileName.toUtf8().constData());
  }
  return 0;
}

}  // namespace cli
