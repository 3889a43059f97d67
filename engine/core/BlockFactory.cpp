#include "BlockFactory.h"

#include "CalculatorBlocks.h"
#include "ControlBlocks.h"
#include "MemoryBlocks.h"
#include "SinkBlocks.h"
#include "SourceBlocks.h"
#include "StandaloneBlocks.h"

namespace {

using Maker = CBlock* (*)(int32_t id, uint8_t arg);

struct FactoryRow {
  int32_t firstType;
  int32_t lastType;
  Maker make;
  uint8_t firstArg;  // port or channel of the first type id; +1 per id
};

template <typename T>
CBlock* Make(int32_t id, uint8_t) { return new T(id); }
template <typename T>
CBlock* MakeOn(int32_t id, uint8_t arg) { return new T(id, arg); }

constexpr FactoryRow kFactory[] = {
    {105, 105, Make<CFreqBlock>, 0},
    {108, 108, Make<CBeepBlock>, 0},
    {110, 111, MakeOn<CRelaisPortBlock>, 7},
    {112, 115, MakeOn<CFKeyBlock>, 9},
    {116, 119, MakeOn<CLEDPortBlock>, 13},
    {120, 121, MakeOn<CTempPortBlock>, 5},
    {122, 123, MakeOn<CUPortBlock>, 7},
    {124, 127, MakeOn<CADPortBlock>, 1},
    {130, 135, MakeOn<CDigiPortBlock>, 1},
    {200, 200, Make<CAddBlock>, 0},
    {201, 201, Make<CSubBlock>, 0},
    {202, 202, Make<CMulBlock>, 0},
    {203, 203, Make<CDivBlock>, 0},
    {204, 204, Make<CModBlock>, 0},
    {205, 205, Make<CNegBlock>, 0},
    {206, 206, Make<CAbsBlock>, 0},
    {207, 207, Make<CSgnBlock>, 0},
    {208, 208, Make<CRandBlock>, 0},
    {209, 209, Make<CTabBlock>, 0},
    {210, 210, Make<CMinBlock>, 0},
    {211, 211, Make<CMaxBlock>, 0},
    {212, 212, Make<CShlBlock>, 0},
    {213, 213, Make<CShrBlock>, 0},
    {214, 214, Make<CValueSwitchBlock>, 0},
    {215, 215, Make<CSqrtBlock>, 0},
    {300, 300, Make<CNotBlock>, 0},
    {301, 301, Make<CAndBlock>, 0},
    {302, 302, Make<CNandBlock>, 0},
    {303, 303, Make<COrBlock>, 0},
    {304, 304, Make<CNorBlock>, 0},
    {305, 305, Make<CXorBlock>, 0},
    {400, 400, Make<CLowerBlock>, 0},
    {401, 401, Make<CLowerSameBlock>, 0},
    {402, 402, Make<CHigherBlock>, 0},
    {403, 403, Make<CHigherSameBlock>, 0},
    {404, 404, Make<CEqualBlock>, 0},
    {405, 405, Make<CNotEqualBlock>, 0},
    {406, 406, Make<CZeroBlock>, 0},
    {407, 407, Make<CNotZeroBlock>, 0},
    {408, 408, Make<CLowerZeroBlock>, 0},
    {409, 409, Make<CHigherZeroBlock>, 0},
    {500, 500, Make<CSecBlock>, 0},
    {501, 501, Make<CMinuteBlock>, 0},
    {502, 502, Make<CHourBlock>, 0},
    {503, 503, Make<CTimeInfoBlock>, 0},
    {504, 504, Make<CDayBlock>, 0},
    {506, 506, Make<CMonthBlock>, 0},
    {507, 507, Make<CYearBlock>, 0},
    {508, 508, Make<CDateInfoBlock>, 0},
    {509, 509, Make<CTimerBlock>, 0},
    {600, 600, Make<CUserBitBlock>, 0},
    {601, 601, Make<CUserByteBlock>, 0},
    {602, 602, Make<CUserWordBlock>, 0},
    {700, 700, Make<CConstValueBlock>, 0},
    {701, 701, Make<CConstCharBlock>, 0},
    {702, 702, Make<CConstTextBlock>, 0},
    {703, 703, Make<CConstTimeBlock>, 0},
    {704, 704, Make<CConstDateBlock>, 0},
    {800, 800, Make<COpenFileForWriteBlock>, 0},
    {801, 801, Make<COpenFileForAppendBlock>, 0},
    {802, 802, Make<COpenFileForReadBlock>, 0},
    {803, 803, Make<CWriteFileBlock>, 0},
    {804, 804, Make<CReadFileBlock>, 0},
    {805, 805, Make<CCloseFileBlock>, 0},
    {806, 806, Make<CFileEOFBlock>, 0},
    {807, 807, Make<CFileFreeBlock>, 0},
    {900, 900, Make<CPrintBlock>, 0},
    {901, 901, Make<CInputBlock>, 0},
    {902, 902, Make<CPutBlock>, 0},
    {903, 903, Make<CGetBlock>, 0},
    {904, 904, Make<CBaudBlock>, 0},
    {905, 905, Make<CRXDBlock>, 0},
    {1000, 1000, Make<CGotoBlock>, 0},
    {1001, 1001, Make<CGosubBlock>, 0},
    {1002, 1002, Make<CReturnBlock>, 0},
    {1003, 1003, Make<COnGotoBlock>, 0},
    {1004, 1004, Make<COnGosubBlock>, 0},
    {1005, 1005, Make<CWaitBlock>, 0},
    {1006, 1006, Make<CPauseBlock>, 0},
    {1007, 1007, Make<CEndBlock>, 0},
};

}  // namespace

CBlock* CreateBlock(int32_t typeId, int32_t blockId) {
  for (const FactoryRow& row : kFactory)
    if (typeId >= row.firstType && typeId <= row.lastType)
      return row.make(blockId, static_cast<uint8_t>(row.firstArg + (typeId - row.firstType)));
  return nullptr;
}

const std::vector<int32_t>& KnownBlockTypes() {
  static const std::vector<int32_t> types = [] {
    std::vector<int32_t> all;
    for (const FactoryRow& row : kFactory)
      for (int32_t t = row.firstType; t <= row.lastType; ++t) all.push_back(t);
    return all;
  }();
  return types;
}
