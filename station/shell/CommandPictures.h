// The pictures of the tool buttons: the platform style's standard icons
// where it has one, small drawings of our own for the others.
#pragma once

#include <QIcon>

#include "TCommandTable.h"

class QStyle;

QIcon CommandPicture(TPicture picture, const QStyle& style);
