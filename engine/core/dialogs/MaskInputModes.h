// The four uses of TMaskInputDlg: free text, value, time (HH:MM) and date
// (DD.MM), with their prompts, edit masks and the check made before "Ok" may
// close the dialog. Texts are Windows-1252 bytes.
#pragma once

#include <string_view>

struct MaskInputMode {
  const char* prompt;  // null: the prompt comes from the block
  const char* mask;    // classic edit mask, null for free text
};

// The mode's description; any number outside 0..3 counts as free text.
const MaskInputMode& GetMaskInputMode(int mode);

// Whether an entry read back from the dialog may be taken.
bool MaskEntryAcceptable(int mode, std::string_view text);
