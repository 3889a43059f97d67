// Writing the file of an export command (data log, trend view): the text is
// written whole, or the user learns from an error box that it was not.
#pragma once

#include <QByteArray>
#include <QString>

// `failure` is the window's message, with %1 for the file name.
bool WriteExportFile(const QString& fileName, const QByteArray& text, const QString& failure);
