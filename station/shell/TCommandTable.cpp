#include "TCommandTable.h"

#include "Commands.h"

namespace {

using K = TCommand::Kind;
using A = TFrameAction;
using P = TPicture;

constexpr int Key(QKeyCombination key) { return key.toCombined(); }

constexpr TCommand Menu(const char* name, const char* caption) {
  return {.kind = K::Menu, .name = name, .caption = caption};
}
constexpr TCommand Item(const char* name, const char* caption, int32_t tag, int key = 0) {
  return {.kind = K::Item, .name = name, .caption = caption, .key = key, .tag = tag};
}
constexpr TCommand Do(const char* name, const char* caption, TFrameAction action, int key = 0) {
  return {.kind = K::Item, .name = name, .caption = caption, .key = key, .action = action};
}
constexpr TCommand Toggle(const char* name, const char* caption, TFrameAction action, TCommand::Check check) {
  return {.kind = K::Item, .name = name, .caption = caption, .action = action, .check = check};
}
constexpr TCommand Show(const char* name, const char* caption, TWindowClass window, int key) {
  return {.kind = K::Item, .name = name, .caption = caption, .key = key, .action = A::ShowWindow, .window = window};
}
constexpr TCommand Separator() { return {}; }
constexpr TCommand Bar(const char* name, const char* title) {
  return {.kind = K::ToolBar, .name = name, .caption = title};
}
constexpr TCommand Button(const char* name, const char* hint, int32_t tag, TPicture picture) {
  return {.kind = K::Button, .name = name, .caption = hint, .tag = tag, .picture = picture};
}
constexpr TCommand DoButton(const char* name, const char* hint, TFrameAction action, TPicture picture,
                            TCommand::Check check = TCommand::Check::None) {
  return {.kind = K::Button, .name = name, .caption = hint, .action = action, .picture = picture, .check = check};
}

constexpr auto kOff = TCommand::Check::Unchecked;
constexpr auto kOn = TCommand::Check::Checked;

constexpr TCommand kTable[] = {
    Menu("FileMenu", "&Datei"),
    Do("FileNewItem", "&Neu", A::NewProject, Key(Qt::CTRL | Qt::Key_N)),
    Do("FileOpenItem", "Ö&ffnen...", A::OpenProject, Key(Qt::CTRL | Qt::Key_O)),
    Item("FileSaveItem", "&Speichern", cmd::kSave, Key(Qt::CTRL | Qt::Key_S)),
    Item("FileSaveAsItem", "Speichern &unter...", cmd::kSaveAs),
    Do("FileCompareItem", "&Vergleichen mit...", A::CompareWith),
    Separator(),
    Item("FilePrintItem", "&Drucken...", cmd::kPrint),
    Do("FilePrintSetupItem", "Drucker &einrichten...", A::PrintSetup),
    {.kind = K::RecentFiles},
    Do("FileExitItem", "&Beenden", A::Exit),

    Menu("EditMenu", "&Bearbeiten"),
    Item("EditUndoItem", "&Rückgängig", cmd::kUndo, Key(Qt::CTRL | Qt::Key_Z)),
    Item("EditRedoItem", "&Wiederherstellen", cmd::kRedo, Key(Qt::SHIFT | Qt::CTRL | Qt::Key_Z)),
    Separator(),
    Item("EditCutItem", "&Ausschneiden", cmd::kCut, Key(Qt::CTRL | Qt::Key_X)),
    Item("EditCopyItem", "&Kopieren", cmd::kCopy, Key(Qt::CTRL | Qt::Key_C)),
    Item("EditPasteItem", "&Einfügen", cmd::kPaste, Key(Qt::CTRL | Qt::Key_V)),
    Item("EditClearItem", "&Löschen", cmd::kClear, Key(QKeyCombination(Qt::Key_Delete))),
    Item("EditClearContentsItem", "&Fensterinhalt löschen", cmd::kClearContents),
    Separator(),
    Item("EditInsertCellItem", "&Programmzelle einfügen", cmd::kInsertCell, Key(QKeyCombination(Qt::Key_Insert))),
    Item("EditTableInsertItem", "&Tabelle einfügen", cmd::kInsertTable),
    Item("EditInsertTableRefItem", "E&xterne Tabellendatei einfügen", cmd::kInsertTableRef),

    Menu("ViewMenu", "&Ansicht"),
    Toggle("ViewToolbarsItem", "&Werkzeugleisten", A::ToggleToolBars, kOn),
    Toggle("ViewStatusbarItem", "&Statusleiste", A::ToggleStatusBar, kOn),
    Separator(),
    Do("ViewProjectItem", "&Projektfenster", A::FocusProject, Key(Qt::ALT | Qt::Key_0)),
    Show("ViewWatchItem", "Überwachte &Variablen", TWindowClass::Watch, Key(Qt::ALT | Qt::Key_2)),
    Show("ViewTerminalItem", "A&usgaben", TWindowClass::Terminal, Key(Qt::ALT | Qt::Key_3)),
    Show("ViewDataLogItem", "Datenauf&zeichnung", TWindowClass::DataLog, Key(Qt::ALT | Qt::Key_4)),
    Show("ViewDigitalItem", "&Digitalports/Relais", TWindowClass::DigitalPorts, Key(Qt::ALT | Qt::Key_5)),
    Show("ViewAnalogItem", "&Meßwerte", TWindowClass::AnalogPorts, Key(Qt::ALT | Qt::Key_6)),
    Show("ViewKeysItem", "&Tasten/LEDs", TWindowClass::Keys, Key(Qt::ALT | Qt::Key_7)),
    Separator(),
    Do("ViewNewCellEditorItem", "&Neuer Programmzelleneditor", A::NewCellEditor),

    Menu("BlocksMenu", "B&löcke"),
    {.kind = K::BlockGroups},

    Menu("DevelopMenu", "&Entwicklung"),
    Item("DevelopCompileItem", "&Compilieren", cmd::kCompile, Key(Qt::CTRL | Qt::Key_F9)),
    Item("DevelopDownloadItem", "In Tarvix &Station übertragen", cmd::kDownload, Key(QKeyCombination(Qt::Key_F12))),

    Menu("SimulatorMenu", "&Simulator"),
    Item("SimulatorToggleBrkptItem", "&Haltepunkt umschalten", cmd::kToggleBreakpoint, Key(Qt::CTRL | Qt::Key_F8)),
    Item("SimulatorGotoItem", "&Gehe bis zur aktiven Zelle", cmd::kRunToCell, Key(Qt::SHIFT | Qt::Key_F9)),
    Separator(),
    Item("SimulatorGoItem", "&Ausführen", cmd::kRun, Key(QKeyCombination(Qt::Key_F9))),
    Item("SimulatorSingleStepItem", "&Einzelschritt", cmd::kSingleStep, Key(QKeyCombination(Qt::Key_F8))),
    Item("SimulatorResetItem", "&Rücksetzen", cmd::kReset, Key(Qt::CTRL | Qt::Key_F2)),
    Item("SimulatorStopItem", "A&nhalten", cmd::kStop, Key(QKeyCombination(Qt::Key_Escape))),
    Separator(),
    Do("SimulatorCheckItem", "&Programm prüfen", A::CheckProgram, Key(Qt::CTRL | Qt::Key_F7)),
    Separator(),
    Toggle("SimulatorRealTimeItem", "E&chtzeit", A::RealTime, kOff),
    Toggle("SimulatorVirtualTimeItem", "&Zeitraffer", A::VirtualTime, kOff),

    Menu("OptionsMenu", "&Optionen"),
    Do("OptionsEnvironmentItem", "&Umgebung...", A::OptionsEnvironment),
    Do("OptionsColorsItem", "&Farben und Schriftarten...", A::OptionsColors),

    Menu("WindowMenu", "&Fenster"),
    Do("WindowCascadeItem", "Ü&berlappend", A::Cascade),
    Do("WindowTileHorzItem", "&Untereinander", A::TileHorizontally),
    Do("WindowTileVertItem", "&Nebeneinander", A::TileVertically),
    Do("WindowCloseAllItem", "&Alle schließen", A::CloseAll),

    Menu("HelpMenu", "&Hilfe"),
    Do("HelpContentsItem", "&Inhalt", A::HelpContents),
    Do("HelpTipItem", "&Tip des Tages...", A::TipOfDay),
    Separator(),
    Do("HelpAboutItem", "&Info über...", A::About),

    Bar("MainToolbar", "Datei und Bearbeiten"),
    DoButton("FileOpenButton", "Projekt öffnen", A::OpenProject, P::Open),
    Button("FileSaveButton", "Projekt speichern", cmd::kSave, P::Save),
    Separator(),
    Button("EditCutButton", "Ausschneiden", cmd::kCut, P::Cut),
    Button("EditCopyButton", "Kopieren", cmd::kCopy, P::Copy),
    Button("EditPasteButton", "Einfügen", cmd::kPaste, P::Paste),
    Button("EditClearButton", "Löschen", cmd::kClear, P::Clear),
    Separator(),
    Button("EditUndoButton", "Rückgängig", cmd::kUndo, P::Undo),
    Button("EditRedoButton", "Wiederherstellen", cmd::kRedo, P::Redo),

    Bar("DevelopmentToolbar", "Entwicklung"),
    Button("DevCompileButton", "Compilieren", cmd::kCompile, P::Compile),
    Button("DevDownloadButton", "Übertragen", cmd::kDownload, P::Download),

    Bar("RunToolbar", "Simulator"),
    Button("GoButton", "Ausführen", cmd::kRun, P::Run),
    Button("SingleStepButton", "Einzelschritt", cmd::kSingleStep, P::SingleStep),
    Button("GotoCursorButton", "Ausführen bis aktuelle Zelle", cmd::kRunToCell, P::RunToCell),
    Button("ToggleBkptButton", "Haltepunkt umschalten", cmd::kToggleBreakpoint, P::Breakpoint),
    Button("ClearBkptButton", "Alle Haltepunkte löschen", cmd::kClearBreakpoints, P::ClearBreakpoints),
    Button("StopButton", "Programmlauf anhalten", cmd::kStop, P::Stop),
    Button("RestartButton", "Programm rücksetzen", cmd::kReset, P::Reset),
    Separator(),
    DoButton("RealTimeButton", "Echtzeit", A::RealTime, P::RealTime, kOff),
    DoButton("VirtualTimeButton", "Zeitraffer", A::VirtualTime, P::VirtualTime, kOff),

    {.kind = K::ToolBarBreak},
    Bar("BlockToolbar", "Blöcke"),
    Button("NewCellButton", "Neue Programmzelle einfügen", cmd::kInsertCell, P::NewCell),
    Separator(),
    {.kind = K::Palette,
     .name = "TextBlockButton",
     .caption = "Kommentar",
     .tag = cmd::kInsertTextBlock,
     .picture = P::Comment},

    Bar("AlignToolbar", "Ausrichten"),
    Button("LeftAlignButton", "Am linken Rand ausrichten", cmd::kAlignLeft, P::AlignLeft),
    Button("TopAlignButton", "Am oberen Rand ausrichten", cmd::kAlignTop, P::AlignTop),
    Button("RightAlignButton", "Am rechten Rand ausrichten", cmd::kAlignRight, P::AlignRight),
    Button("BottomAlignButton", "Am unteren Rand ausrichten", cmd::kAlignBottom, P::AlignBottom),
};

}  // namespace

std::span<const TCommand> CommandTable() { return kTable; }
