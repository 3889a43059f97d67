// The words for a download result, as the station shows them.
#pragma once

#include <QString>
#include <cstdint>

// "%d bytes übertragen" for a byte count, the failure text otherwise.
QString DownloadResultText(int32_t result);
