/* The flat interface of the engine library Vorblen32.
 *
 * The station talks to the engine only through these functions. Every integer
 * argument and result is a 32-bit integer; 16-bit and 8-bit arguments use the
 * low bits of their slot. Texts are NUL-terminated Windows-1252 bytes; a text
 * returned by the engine belongs to the engine and stays valid only until the
 * next call that changes the same object, so callers copy it at once.
 *
 * Failure values. Bad calls never crash: an unknown page or block id, a null
 * handle, a null text, an input index that is out of range or already wired,
 * or a page id that does not fit in 16 bits do nothing and return the failure
 * value of the function. Unless a function says otherwise below, that is 0
 * for an integer result and null for a text; the exceptions are
 *   PlexorCompile          -1 (or the block id of the fault),
 *   PlexorConnectBlocks    -1,
 *   PlexorDownload         PLEXOR_DL_NOT_COMPILED (-1),
 *   PlexorStep             PLEXOR_STEP_ERROR with error code PLEXOR_RTE_OTHER,
 *   PlexorGetOutputString  "" (an empty text, never null),
 *   PlexorGetLCD, PlexorGetLED  "" always.
 * Boolean results are 1 for success and 0 for failure.
 *
 * No C++ exception leaves the library: every function catches everything,
 * running out of memory included, and returns its failure value (a compile
 * step also sets the error text). PlexorCreate returns null when memory runs
 * out, and leaks nothing then.
 *
 * Threads. The engine creates no threads and takes no locks. The host makes
 * all calls on one engine object from one thread at a time, with exactly two
 * exceptions: while a compile (PlexorCompilerInit .. PlexorCompilerDone) or a
 * download runs on a worker thread, another thread may call PlexorGetProgress
 * and PlexorBreak on the same object. PlexorCompile and PlexorDownload clear
 * the break request when they start, so a PlexorBreak made before that start
 * is lost; hosts that let the user cancel at any time keep an abort flag of
 * their own and check it between the steps, as the compile window does.
 */
#ifndef VORBLEN_SHARED_PLEXOR_H
#define VORBLEN_SHARED_PLEXOR_H

#include <stdint.h>

#ifdef __cplusplus
class CPlexor;
#define PLEXOR_API extern "C" __attribute__((visibility("default")))
#else
typedef struct CPlexor CPlexor;
#define PLEXOR_API __attribute__((visibility("default")))
#endif

typedef CPlexor* PlexorHandle;

/* Step results of PlexorStep: low word status, high word information. */
enum {
  PLEXOR_STEP_END = 0,        /* END reached; high word Marker */
  PLEXOR_STEP_PAGE = 1,       /* page marker passed; high word page id */
  PLEXOR_STEP_INPUT = 2,      /* serial input wanted; call PlexorSetInputValue */
  PLEXOR_STEP_OUTPUT = 3,     /* serial output ready; call PlexorGetOutputString */
  PLEXOR_STEP_WAIT = 4,       /* one wait-loop pass (or instruction budget used up) */
  PLEXOR_STEP_PAUSE = 5,      /* long real-time pause; high word ticks of 20 ms */
  PLEXOR_STEP_FILE = 6,       /* data-file length changed */
  PLEXOR_STEP_ERROR = 0xFFFF  /* run-time error; high word error code */
};

/* Run-time error codes in the high word of PLEXOR_STEP_ERROR. */
enum { PLEXOR_RTE_OTHER = 0, PLEXOR_RTE_DIVZERO = 1, PLEXOR_RTE_END_OF_MEMORY = 2 };

/* Unpacking a step result: status (a PLEXOR_STEP_* value) and its argument
 * (page id, pause ticks or error code). */
#define PLEXOR_STEP_STATUS(result) ((int32_t)((uint32_t)(result) & 0xFFFFu))
#define PLEXOR_STEP_ARG(result) ((int32_t)((uint32_t)(result) >> 16))

/* Output kinds and connection kinds. */
enum { PLEXOR_OUT_NONE = 0, PLEXOR_OUT_VALUE = 1, PLEXOR_OUT_TEXT = 2, PLEXOR_OUT_TIME = 4, PLEXOR_OUT_DATE = 8 };
enum { PLEXOR_CONN_OTHER = 0, PLEXOR_CONN_VALUE = 1, PLEXOR_CONN_TEXT = 2, PLEXOR_CONN_TIME = 3, PLEXOR_CONN_DATE = 4 };

/* Unpacking a successful PlexorConnectBlocks result: the connection kind
 * (a PLEXOR_CONN_* value) and the input index the wire took. */
#define PLEXOR_CONN_KIND(result) ((int32_t)((uint32_t)(result) & 0xFFFFu))
#define PLEXOR_CONN_INPUT(result) ((int32_t)((uint32_t)(result) >> 16))

/* Download results besides the byte count. */
enum {
  PLEXOR_DL_NOT_COMPILED = -1, /* no successful compile to send, or the descriptor is unusable */
  PLEXOR_DL_WRITE = -2,        /* writing a byte failed */
  PLEXOR_DL_NO_ANSWER = -3,    /* no echo in time, or the line went away */
  PLEXOR_DL_WRONG_ECHO = -4,   /* the unit answered another byte */
  PLEXOR_DL_ABORTED = -5,      /* PlexorBreak */
  PLEXOR_DL_DRAIN = -6         /* the unit was still sending when the 3 s drain limit ran out */
};

/* MapCode = width << 24 | area << 16 | index. */
#define PLEXOR_MAPCODE(width, area, index) ((int32_t)(((uint32_t)(width) << 24) | ((uint32_t)(area) << 16) | (uint32_t)(index)))

/* Largest data file in 16-bit words: a PlexorDumpFile buffer of this many
 * words is always large enough. */
#define PLEXOR_FILE_MAX_WORDS 4096

/* Engine object. PlexorCreate returns a new engine, or null when memory runs
 * out. PlexorDestroy with null does nothing. PlexorGetErrorMessage returns
 * the last error text (empty on a fresh engine; successful calls leave it);
 * its pointer equals the handle. PlexorGetProgress returns the percentage of
 * the running compile or download (0 before any); PlexorBreak asks the
 * running one to stop. Both may be called from a second thread (see above). */
PLEXOR_API PlexorHandle PlexorCreate(void);
PLEXOR_API void PlexorDestroy(PlexorHandle engine);
PLEXOR_API const char* PlexorGetErrorMessage(PlexorHandle engine);
PLEXOR_API int32_t PlexorGetProgress(PlexorHandle engine);
PLEXOR_API void PlexorBreak(PlexorHandle engine);

/* Pages. A page id must fit in 16 bits to hold blocks. PlexorAddPage inserts
 * the page behind the page after (at the front for 0) and returns 1; an after
 * that names no page appends the page at the end (still 1). It returns 0 and
 * adds nothing when the page id is already used. PlexorSetPageName returns 1,
 * or 0 for an unknown page or a name another page already has.
 * PlexorMovePage places the page behind after (at the front for 0); with
 * an unknown page or after it does nothing. */
PLEXOR_API int32_t PlexorAddPage(PlexorHandle engine, int32_t page, int32_t after);
PLEXOR_API void PlexorRemovePage(PlexorHandle engine, int32_t page);
PLEXOR_API int32_t PlexorSetPageName(PlexorHandle engine, int32_t page, const char* name);
PLEXOR_API void PlexorClearPage(PlexorHandle engine, int32_t page);
PLEXOR_API void PlexorMovePage(PlexorHandle engine, int32_t page, int32_t after);

/* Blocks and wires. The page of a block is the high 16 bits of its id.
 * PlexorAddBlock returns 1, or 0 for an unknown type, a missing page or a
 * block id already in use. PlexorEditBlockParam returns 1 when the user
 * confirmed the dialog. PlexorSetBlockParam returns 1 when the text was
 * taken. PlexorCanConnectBlocks with target 0 says whether source has an
 * output at all. PlexorGetBlockInputMenuFlags returns one character per input
 * of target: ' ' free and fitting, '*' otherwise.
 * PlexorConnectBlocks wires source to input (-1: the first free one) of
 * target and returns PLEXOR_CONN_KIND | input << 16 (see the macros above);
 * it returns -1 (and wires nothing) for an unknown block, blocks on different
 * pages, an input index out of range or already wired, or index -1 with no
 * free input. PlexorGetMapCode returns 0 for a block without a variable. */
PLEXOR_API int32_t PlexorAddBlock(PlexorHandle engine, int32_t type, int32_t block);
PLEXOR_API void PlexorRemoveBlock(PlexorHandle engine, int32_t block);
PLEXOR_API int32_t PlexorHasBlockUserBitmap(PlexorHandle engine, int32_t block);
PLEXOR_API int32_t PlexorEditBlockParam(PlexorHandle engine, int32_t block);
PLEXOR_API int32_t PlexorSetBlockParam(PlexorHandle engine, int32_t block, const char* param);
PLEXOR_API const char* PlexorGetBlockParam(PlexorHandle engine, int32_t block);
PLEXOR_API const char* PlexorGetIndexDescription(PlexorHandle engine, int32_t block);
PLEXOR_API int32_t PlexorCanConnectBlocks(PlexorHandle engine, int32_t source, int32_t target);
PLEXOR_API const char* PlexorGetBlockInputMenu(PlexorHandle engine, int32_t block);
PLEXOR_API const char* PlexorGetBlockInputMenuFlags(PlexorHandle engine, int32_t source, int32_t target);
PLEXOR_API int32_t PlexorConnectBlocks(PlexorHandle engine, int32_t source, int32_t target, int32_t input);
PLEXOR_API void PlexorSplitBlockConnection(PlexorHandle engine, int32_t target, int32_t input);
PLEXOR_API const char* PlexorGetSymbolicName(PlexorHandle engine, int32_t block);
PLEXOR_API int32_t PlexorGetMapCode(PlexorHandle engine, int32_t block);

/* Compiler, called in this order: PlexorCompilerInit (1), PlexorCompile
 * (0 on success, else the block id of the fault, or -1 for a fault tied to
 * no block or a break), PlexorLoadTable once per table (1, or 0), then
 * PlexorCompilerDone (1, or 0). A call out of this order fails. Every failure
 * leaves its message in PlexorGetErrorMessage. PlexorGetCodeLength returns
 * the byte count of the download image. */
PLEXOR_API int32_t PlexorCompilerInit(PlexorHandle engine);
PLEXOR_API int32_t PlexorCompile(PlexorHandle engine);
PLEXOR_API int32_t PlexorLoadTable(PlexorHandle engine, const char* name, const char* text);
PLEXOR_API int32_t PlexorCompilerDone(PlexorHandle engine);
PLEXOR_API int32_t PlexorGetCodeLength(PlexorHandle engine);

/* The download image of the last successful compile as an annotated listing
 * (Windows-1252 text, as every engine text): one instruction per line with unit
 * address, bytes, mnemonic and operand, named cells and jump targets as
 * label lines, then the tables. Null before a successful PlexorCompilerDone.
 * The text stays valid until the next call of this function or the next
 * compile. */
PLEXOR_API const char* PlexorGetListing(PlexorHandle engine);

/* Simulator options (PlexorSetOptions, which returns them). Without any bit
 * the unit's clock stands still: pauses do nothing and Timer stays 0.
 *   PLEXOR_OPTION_REALTIME: the clock registers and Timer follow the
 *     computer's clock. A pause of up to 150 ticks sleeps inside the step (a
 *     step that has slept 150 ticks ends with PLEXOR_STEP_WAIT); a longer one
 *     ends the step with PLEXOR_STEP_PAUSE and its ticks, and the caller
 *     waits.
 *   PLEXOR_OPTION_PAUSE_TO_CALLER: with real time, every pause of one tick or
 *     more ends the step with PLEXOR_STEP_PAUSE and its ticks (Timer already
 *     advanced), so a caller with a user interface never sleeps in a step.
 *   PLEXOR_OPTION_VIRTUAL_TIME: the clock runs only with the program: each
 *     pause advances it by its ticks, each wait-loop pass by one tick, and
 *     nothing sleeps, so a timer program runs as fast as the processor
 *     allows and the same inputs always give the same outputs. Overrides
 *     PLEXOR_OPTION_REALTIME. The clock starts at reset from the computer's
 *     local date and time, or with
 *   PLEXOR_OPTION_FIXED_DATE: from Monday 1 January 2024, 00:00:00.
 * A step runs until the next point where the station must act; one
 * that runs ten million instructions without such a point returns
 * PLEXOR_STEP_WAIT and the next step goes on. PlexorStep on a null handle
 * returns PLEXOR_STEP_ERROR (error code PLEXOR_RTE_OTHER).
 * PlexorGetValue reads 0 and PlexorSetValue refuses (returns 0) for map
 * codes outside the table; it returns 1 when the value was stored.
 * PlexorGetFileLength counts 16-bit words. PlexorDumpFile writes
 * PlexorGetFileLength words (never more than PLEXOR_FILE_MAX_WORDS) and
 * returns the last one (0 for an empty file or a null array).
 * PlexorGetOutputString returns the serial output since the previous call,
 * an empty text when there is none or the handle is null. */
enum {
  PLEXOR_OPTION_REALTIME = 1,
  PLEXOR_OPTION_PAUSE_TO_CALLER = 2,
  PLEXOR_OPTION_VIRTUAL_TIME = 4,
  PLEXOR_OPTION_FIXED_DATE = 8
};
PLEXOR_API int32_t PlexorSetOptions(PlexorHandle engine, int32_t options);
PLEXOR_API void PlexorResetProgram(PlexorHandle engine);
PLEXOR_API int32_t PlexorStep(PlexorHandle engine);
PLEXOR_API int32_t PlexorGetValue(PlexorHandle engine, int32_t mapCode);
PLEXOR_API int32_t PlexorSetValue(PlexorHandle engine, int32_t mapCode, int32_t value);
PLEXOR_API int32_t PlexorGetFileLength(PlexorHandle engine);
PLEXOR_API int32_t PlexorDumpFile(PlexorHandle engine, uint16_t* words);
PLEXOR_API void PlexorSetInputValue(PlexorHandle engine, int32_t value);
PLEXOR_API const char* PlexorGetOutputString(PlexorHandle engine);

/* Simulated inputs and outputs. Analog channels outside 0..7 and indices
 * outside 0..1 are ignored by the setters and read as 0. The setters return
 * the value stored (0 when ignored). PlexorGetPortState returns the levels in
 * the low 16 bits and the ports the program drives in the high 16 bits. */
PLEXOR_API int32_t PlexorGetPortState(PlexorHandle engine);
PLEXOR_API int32_t PlexorSetInitialPortState(PlexorHandle engine, int32_t state);
PLEXOR_API int32_t PlexorGetInitialPortState(PlexorHandle engine);
PLEXOR_API void PlexorSetPort(PlexorHandle engine, int32_t port, int32_t level);
PLEXOR_API int32_t PlexorGetADC(PlexorHandle engine, int32_t channel);
PLEXOR_API int32_t PlexorSetADC(PlexorHandle engine, int32_t channel, int32_t value);
PLEXOR_API int32_t PlexorGetDAC(PlexorHandle engine, int32_t index);
PLEXOR_API const char* PlexorGetLCD(PlexorHandle engine);
PLEXOR_API const char* PlexorGetLED(PlexorHandle engine);
PLEXOR_API int32_t PlexorGetFreq(PlexorHandle engine);
PLEXOR_API int32_t PlexorSetFreq(PlexorHandle engine, int32_t hertz);

/* Loader: port is the file descriptor of an opened tty. Returns the number of
 * bytes sent or one of the PLEXOR_DL_* codes: -1 before any successful
 * compile, and for a descriptor that is not an open terminal (nothing is
 * written to it); -6 when the unit is still sending 3 s into the drain.
 * PlexorBreak ends the drain at once and takes effect before the start byte,
 * each length byte and each image byte (-5). A line that hangs up or
 * vanishes ends the download at once with -2 or -3, and one that will not
 * take a byte within 5 s counts as a failed write (-2). The descriptor's own
 * file status flags and low-latency mode are given back; the line settings
 * stay applied. */
PLEXOR_API int32_t PlexorDownload(PlexorHandle engine, int32_t port);

#endif
