// vorblen-cli render: pictures of cells for documentation and review,
// painted as the cell editor prints them. SVG and PDF stay vector drawings.
#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cstdio>
#include <functional>
#include <memory>
#include <set>

#include "CliCommands.h"
#include "CliUserInterface.h"
#include "OutputFile.h"
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

// A cell name as part of a file name that no shell needs quoted: ASCII
// letters, digits, '-', '.' and '_'; German umlauts and ß are spelt out
// (ä -> ae), every other character becomes '_'.
QString FilePart(const QString& name) {
  QString out;
  for (QChar c : name) {
    const char16_t u = c.unicode();
    switch (u) {
      case u'ä': out += QStringLiteral("ae"); continue;
      case u'ö': out += QStringLiteral("oe"); continue;
      case u'ü': out += QStringLiteral("ue"); continue;
      case u'Ä': out += QStringLiteral("Ae"); continue;
      case u'Ö': out += QStringLiteral("Oe"); continue;
      case u'Ü': out += QStringLiteral("Ue"); continue;
      case u'ß': out += QStringLiteral("ss"); continue;
      default: break;
    }
    const bool plain = (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') || u == u'-' ||
                       u == u'.' || u == u'_';
    out += plain ? c : QLatin1Char('_');
  }
  return out.isEmpty() ? QStringLiteral("_") : out;
}

bool WriteSvg(const TBlockList& cell, QIODevice& device) {
  const QSize size = cell.RenderSize();
  QSvgGenerator svg;
  svg.setOutputDevice(&device);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(kScreenDpi);
  svg.setTitle(QStringLiteral("Zelle %1: \"%2\"").arg(cell.CellId()).arg(cell.Name()));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  cell.Render(painter);
  return painter.end();
}

bool WritePng(const TBlockList& cell, int scale, QIODevice& device) {
  const QImage image = cell.RenderImage(scale);
  return !image.isNull() && image.save(&device, "PNG");
}

// Every cell on a page of its own size.
bool WritePdf(const std::vector<const TBlockList*>& cells, QIODevice& device) {
  QPdfWriter pdf(&device);
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

// The picture drawn into memory first, then written whole: a full disk
// leaves no cut file that looks finished.
bool WritePicture(const QString& fileName, const std::function<bool(QIODevice&)>& draw) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QString problem;
  if (!draw(buffer))
    problem = QStringLiteral("Das Bild für %1 lässt sich nicht zeichnen.").arg(fileName);
  else if (outputfile::Write(fileName, bytes, problem))
    return true;
  Say(problem);
  return false;
}

}  // namespace

int Render(const QString& project, const QStringList& options) {
  QStringList keys;
  QString out;
  int scale = 2;
  for (qsizetype i = 0; i < options.size(); ++i) {
    const bool hasValue = i + 1 < options.size();
    bool ok = false;
    if (options[i] == QStringLiteral("--cell") && hasValue) {
      keys << options[++i];
    } else if (options[i] == QStringLiteral("-o") && hasValue) {
      out = options[++i];
    } else if (options[i] == QStringLiteral("--scale") && hasValue &&
               (scale = options[i + 1].toInt(&ok, 10), ok && scale >= 1 && scale <= TBlockList::kMaxRenderScale)) {
      ++i;
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

  // What the picture cannot show is said, not dropped silently.
  for (const TBlockList* cell : cells)
    for (int32_t id : cell->BlocksOutsideArea())
      Say(QStringLiteral("Zelle %1: Block %2 liegt außerhalb der Zellfläche und fehlt im Bild.").arg(cell->CellId()).arg(id));

  if (format == QStringLiteral("pdf")) {
    if (!WritePicture(out, [&](QIODevice& device) { return WritePdf(cells, device); })) return 1;
    std::printf("%s\n", out.toUtf8().constData());
    return 0;
  }
  // Several cells: one file each, named after the cell beside the given
  // name; names that come out alike get the cell number, then a count.
  const QString stem = target.dir().filePath(target.completeBaseName());
  std::set<QString> used;
  for (const TBlockList* cell : cells) {
    QString fileName = out;
    if (cells.size() > 1) {
      const QString part = FilePart(cell->Name());
      fileName = QStringLiteral("%1-%2.%3").arg(stem, part, target.suffix());
      for (int n = 1; used.count(fileName.toLower()); ++n)
        fileName = QStringLiteral("%1-%2-%3%4.%5")
                       .arg(stem, part)
                       .arg(cell->CellId())
                       .arg(n > 1 ? QStringLiteral("-%1").arg(n) : QString())
                       .arg(target.suffix());
      used.insert(fileName.toLower());
    }
    const bool written = WritePicture(fileName, [&](QIODevice& device) {
      return format == QStringLiteral("svg") ? WriteSvg(*cell, device) : WritePng(*cell, scale, device);
    });
    if (!written) return 1;
    std::printf("%s\n", fileName.toUtf8().constData());
  }
  return 0;
}

}  // namespace cli
