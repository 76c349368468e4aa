/*
 * Tarvex engine: the public interface of libtarvex.
 *
 * The library exports exactly four functions, under the names _Tarvex,
 * _TarvexB, _TarvexCallBack and _TarvexProgPtr. Names that begin with an
 * underscore and a capital letter are reserved in C and C++, so callers use the
 * ordinary names declared here; the assembler labels bind them to the exported
 * names.
 *
 * The engine keeps its working state module-wide: one transform at a time per
 * process, and calls must not overlap.
 *
 * Key texts. Any zero-terminated text is accepted and nothing is ever written
 * beyond the engine's own buffers:
 *   - The prepared key uses the first 88 characters of the text (with layer
 *     choice 1: the first 16 characters followed by the text, cut at 88); the
 *     scrambling generator is seeded from the last character of the text, so a
 *     text longer than the old 119-character key area (103 with layer choice 1)
 *     behaves exactly as the shorter texts of the same form do.
 *   - An empty key text (or a null pointer, taken as the empty text) seeds the
 *     generator with 0, the value of its terminating zero. It is accepted so
 *     that nothing crashes, but it is no secret: the window programs require 8
 *     to 88 characters.
 */
#ifndef TARVEX_H
#define TARVEX_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Results of tarvexTransformFile. */
enum TarvexResult {
    TARVEX_OK = 0,
    /* The source cannot be opened for reading, or it is not a regular file
       (a directory, a device, a pipe); nothing was opened. */
    TARVEX_ERR_OPEN_SOURCE = -1,
    /* The names differ and the target cannot be opened for appending; the
       source is untouched. */
    TARVEX_ERR_APPEND_TARGET = -2,
    /* The target cannot be opened for update; the source is untouched, a
       target created while trying stays, empty. */
    TARVEX_ERR_UPDATE_TARGET = -3,
    /* Reading the source or writing the target failed part way (disk full, an
       I/O error, a source cut short while it was read). A source with another
       name than the target is never touched. An in-place run stops before the
       next window of chunks and keeps its journal and window record, from which
       the repair tool (mendkit --journal) puts the file right exactly. */
    TARVEX_ERR_IO = -4,
    /* The engine could not get the memory or another system resource it
       needed, or the progress callback threw an exception. The run stopped
       where that happened, and nothing thrown leaves the engine. A source with
       another name than the target is never touched; the target may have been
       created, and may hold all or part of the result, followed by bytes it
       held before: it is no result to use. An in-place run keeps its
       journal and window record, as after TARVEX_ERR_IO; a run that stopped
       before creating them has not touched the file. */
    TARVEX_ERR_INTERNAL = -5,
    /* An in-place run could not create its journal and window record in the
       current directory (it cannot be written, or every name is taken), so a
       cut-short run could not be repaired: nothing was touched. */
    TARVEX_ERR_UNPROTECTED = -6
};

/* direction: nonzero encrypts, zero decrypts. */
enum { TARVEX_DECRYPT = 0, TARVEX_ENCRYPT = 1 };

/* layerChoice: 0 (and every value not listed) both layers, 1 the block cipher
   alone, 2 the scrambling layer alone. */
enum { TARVEX_BOTH_LAYERS = 0, TARVEX_BLOCK_CIPHER_ONLY = 1, TARVEX_SCRAMBLE_ONLY = 2 };

/* Called with the running progress estimate; the result is ignored. An
   exception it throws ends the transform that called it and goes no further
   (see TARVEX_ERR_INTERNAL and tarvexTransformBuffer). */
typedef int (*TarvexProgressCallback)(int32_t progress);

/* Transforms the file `source` into `target` chunk by chunk. Equal names
   (compared ignoring ASCII letter case) transform in place and keep a journal
   "TXE<n>.adt" or "TXD<n>.adt" in the current directory until the run ends,
   locked for the run's life, and beside it the window record "TXE<n>.undo" or
   "TXD<n>.undo". They work in windows of 64 chunks, each put on the disk in
   order (record, window, journal lines), so that a killed run or a power cut
   leaves a state the repair puts right exactly.
   A longer existing target is cut to the source's length once the run has
   completed. Returns a TarvexResult. */
int tarvexTransformFile(const char* key, const char* source, const char* target, int direction,
                        int layerChoice) __asm__("_Tarvex");

/* Transforms `length` bytes of memory (nothing when length <= 0). `target` may
   equal `source` or overlap it. With firstPiece zero the scrambling generator
   continues where the previous buffer transform ended, so a stream transformed
   in 65536-byte pieces gives the bytes of one call over the whole stream.
   Should the progress callback throw, the exception ends the call and goes no
   further: target then holds the source bytes with only a leading part
   transformed, which is no result to use, and the generator stays where the
   previous completed buffer transform left it. */
void tarvexTransformBuffer(const char* key, const unsigned char* source, int32_t length, unsigned char* target,
                           int direction, int layerChoice, int firstPiece) __asm__("_TarvexB");

/* Registers the progress callback (null removes it); returns its argument. */
TarvexProgressCallback tarvexSetProgressCallback(TarvexProgressCallback callback) __asm__("_TarvexCallBack");

/* Registers an int that receives every progress value (null removes it);
   returns its argument. */
int32_t* tarvexSetProgressVariable(int32_t* variable) __asm__("_TarvexProgPtr");

#ifdef __cplusplus
}
#endif

#endif /* TARVEX_H */
