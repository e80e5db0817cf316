/*
 * libbass: the BASS 2.1 calls that the launcher makes, with the same values
 * and callback contract, served by PulseAudio (or PipeWire's PulseAudio
 * server). Every call may be made from any thread; each call that can fail
 * sets the calling thread's error code, which BASS_ErrorGetCode reads.
 */
#ifndef QVR_BASS_H
#define QVR_BASS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(BASS_BUILDING)
#define BASS_API __attribute__((visibility("default")))
#else
#define BASS_API
#endif

typedef uint32_t DWORD;
typedef int BOOL;      /* nonzero = true */
typedef DWORD HRECORD; /* a recording channel; 0 is never a valid handle */

/* The version that BASS_GetVersion reports: low word 2, high word 1 (2.1). */
#define BASS_VERSION 0x00010002u

/* Error codes of BASS_ErrorGetCode. */
#define BASS_OK 0               /* the last call succeeded */
#define BASS_ERROR_MEM 1        /* out of memory */
#define BASS_ERROR_NOSERVER 2   /* no sound server answered in time */
#define BASS_ERROR_DEVICE 3     /* no such device number */
#define BASS_ERROR_NODEVICE 4   /* no source (recording) or sink (output) to use */
#define BASS_ERROR_ALREADY 5    /* that side is already started, or a recording runs */
#define BASS_ERROR_INIT 6       /* that side has not been started */
#define BASS_ERROR_NOTAVAIL 7   /* the call is not available */
#define BASS_ERROR_HANDLE 8     /* no such channel */
#define BASS_ERROR_ILLPARAM 9   /* no such input, or an argument out of its range */
#define BASS_ERROR_FORMAT 10    /* a sample format the library does not record */
#define BASS_ERROR_UNKNOWN (-1) /* anything else */

/* Settings of BASS_RecordSetInput; the state of BASS_RecordGetInput. The
 * inputs are the server's sources, monitors included, numbered from 0 in the
 * order of the server's source index. Switching one on chooses it as the
 * source that a recording reads; at most one is on, and after BASS_RecordInit
 * the server's default source is. The level is the source's volume as a
 * linear percentage (100 = the server's normal volume). */
#define BASS_INPUT_OFF 0x10000        /* setting: switch off; state: the input is off */
#define BASS_INPUT_ON 0x20000         /* setting: switch on */
#define BASS_INPUT_LEVEL 0x40000      /* setting: or'ed with a level 0..100, set it */
#define BASS_INPUT_LEVEL_MASK 0xFFFFu /* state: the level */
#define BASS_INPUT_ERROR 0xFFFFFFFFu  /* state: the call failed (reads as off) */

/* Called on the recording's own thread with each block of recorded samples
 * (whole frames, about 50 ms of sound), which stays valid only during the
 * call. Returning zero ends the recording; the channel stays until
 * BASS_ChannelStop. */
typedef BOOL (*RECORDPROC)(HRECORD handle, const void* buffer, DWORD length, void* user);

/* The library's version, BASS_VERSION. */
BASS_API DWORD BASS_GetVersion(void);

/* The last error code of the calling thread (BASS_OK or a BASS_ERROR_...). */
BASS_API int BASS_ErrorGetCode(void);

/* Starts the recording side on a device: 0 or -1 is the server's default.
 * Succeeds only when a server answers within about two seconds (a server is
 * never started on demand) and it has at least one source. */
BASS_API BOOL BASS_RecordInit(int device);

/* Starts the output side on a device: 1 or -1 is the server's default.
 * Succeeds when a server answers and has at least one sink. The rate, flags,
 * window and class identifier are accepted and not used. */
BASS_API BOOL BASS_Init(int device, DWORD freq, DWORD flags, void* win, const void* clsid);

/* Stop what BASS_RecordInit / BASS_Init started; fail with BASS_ERROR_INIT,
 * and change nothing, when that side is not started. */
BASS_API BOOL BASS_RecordFree(void);
BASS_API BOOL BASS_Free(void);

/* Stops all output. Fails with BASS_ERROR_INIT, without effect, when the
 * output side is not started. */
BASS_API BOOL BASS_Stop(void);

/* The name of an input (the source's UTF-8 description, else its name), or
 * NULL past the last input (BASS_ERROR_ILLPARAM). The text stays valid until
 * the calling thread's next call of this function. */
BASS_API const char* BASS_RecordGetInputName(int input);

/* The state of an input: BASS_INPUT_OFF set when it is off, the level in the
 * low 16 bits; BASS_INPUT_ERROR on failure. */
BASS_API DWORD BASS_RecordGetInput(int input);

/* Applies a setting to an input: BASS_INPUT_OFF or BASS_INPUT_ON, and/or
 * BASS_INPUT_LEVEL | level (0..100, set on every channel of the source).
 * Fails past the last input and for a negative one (BASS_ERROR_ILLPARAM). */
BASS_API BOOL BASS_RecordSetInput(int input, DWORD setting);

/* Starts recording from the input that is on: freq samples per second, chans
 * channels, flags 0 for 16-bit signed little-endian samples. Each block goes
 * to proc with user, on a thread of the recording's own. One recording runs
 * at a time (BASS_ERROR_ALREADY); with no input on it fails with
 * BASS_ERROR_NODEVICE. Returns the channel's handle, or 0 on failure. */
BASS_API HRECORD BASS_RecordStart(DWORD freq, DWORD chans, DWORD flags, RECORDPROC proc,
                                  void* user);

/* Stops and frees a recording channel. Once it returns the channel's callback
 * is not called again: a call that runs meanwhile on the recording thread is
 * waited for. Called from inside the callback, it ends the recording after
 * that call. BASS_RecordFree stops every channel the same way. */
BASS_API BOOL BASS_ChannelStop(DWORD handle);

#ifdef __cplusplus
}
#endif

#endif
