#include "CellEditorSettings.h"

CellEditorSettings& CellEditorSettings::Current() {
  static CellEditorSettings settings;
  return settings;
}
