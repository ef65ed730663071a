/*
 * PMXTouchKeyboard.h - the protocol between an HMI runtime (the host) and PMXTouchKeyboard.exe.
 *
 * Plain definitions for C (C99 or later) and C++: the command line, the registered message names,
 * the notify record, the field types and value formats and the pad each selects, the placement
 * modes, the limit display and the key size. Nothing here needs <windows.h>; the Win32 helpers
 * that start the keyboard and send its requests are in PMXTouchKeyboardHost.h.
 *
 * The keyboard is licensed under the MIT licence (LICENSE.txt in the package).
 */
#ifndef PMXTOUCHKEYBOARD_H
#define PMXTOUCHKEYBOARD_H

#include <stddef.h>
#include <stdint.h>
#include <string.h>

/* ---- The program ------------------------------------------------------------------------- */

#define PMXTK_EXE_NAME "PMXTouchKeyboard.exe"
/* The optional settings file, read from the folder of the exe. */
#define PMXTK_SETTINGS_FILE_NAME "QD4TouchKeyboard.ini"
/* The title of the keyboard's hidden message window, the one that takes the requests. */
#define PMXTK_MESSAGE_WINDOW_TITLE "_QDTouchKeyboard_"
/* Set to 1 in the environment of the keyboard to trace every request to the debug output. */
#define PMXTK_TRACE_VARIABLE "PMX_TOUCHKEYBOARD_TRACE"

/*
 * The command line. The host passes, in any order:
 *   /Project:<name>         the host's project; accepted and not used by the keyboard
 *   /Controller:<window>    the host window that receives the keyboard's notices, in decimal
 *   /Thread:<thread id>     the host's GUI thread (the thread of its input fields), in decimal
 * Switch names are not case-sensitive. Window handles are passed as their 32-bit value. The
 * keyboard ends at once with PMXTK_EXIT_NO_CONTROLLER when the controller is no live window.
 */
#define PMXTK_SWITCH_PROJECT "/Project:"
#define PMXTK_SWITCH_CONTROLLER "/Controller:"
#define PMXTK_SWITCH_THREAD "/Thread:"
/* The command line as a printf format: project name, controller window, thread id. */
#define PMXTK_COMMAND_LINE_FORMAT "/Project:%s /Controller:%lu /Thread:%lu"

/* Exit codes of the keyboard process. */
#define PMXTK_EXIT_OK 0             /* ended by the terminate request, or the host went away */
#define PMXTK_EXIT_NO_CONTROLLER 2  /* no live controller window, or a command line it cannot use */

/* ---- The registered messages -------------------------------------------------------------- */

/* Both sides register these names with RegisterWindowMessageA. */
#define PMXTK_MSG_KEYBOARDHANDLE "QDM32_1_KEYBOARDHANDLE"
#define PMXTK_MSG_TERMINATEKEYBOARD "QDM32_1_TERMINATEKEYBOARD"
#define PMXTK_MSG_HIDEKEYBOARD "QDM32_1_HIDEKEYBOARD"
#define PMXTK_MSG_NOTIFYKEYBOARD "QDM32_1_NOTIFYKEYBOARD"
#define PMXTK_MSG_LANGUAGE "QDM1_LANGUAGE"
#define PMXTK_MSG_TOUCHKEYBOARDHIDES "QDM32_1_TOUCHKEYBOARDHIDES"
#define PMXTK_MSG_TOUCHPOSITION "QDM32_1_TOUCHPOSITION"
#define PMXTK_MSG_TOUCHSHOWLIMITS "QDM32_1_TOUCHSHOWLIMITS"
#define PMXTK_MSG_TOUCHKEYSIZE "QDM32_1_TOUCHKEYSIZE"
#define PMXTK_MESSAGE_COUNT 9

/*
 * keyboard -> controller
 *   QDM32_1_KEYBOARDHANDLE      sent once after start: wParam = the keyboard's message window,
 *                               lParam = 0. Send every request to that window.
 *   QDM32_1_TOUCHKEYBOARDHIDES  sent when the user closed the pad (Esc, Enter, the close key):
 *                               wParam = 0, lParam = 0. Not sent when the host hides the pads.
 * host -> the keyboard's message window (send them; the keyboard answers at once)
 *   WM_COPYDATA                 the notify request: wParam = the field's window, dwData = the id
 *                               of QDM32_1_NOTIFYKEYBOARD, lpData = a PMXTK_NOTIFY_RECORD, cbData =
 *                               its size. Send it (WM_COPYDATA cannot be posted) whenever a field
 *                               gets the focus.
 *   QDM32_1_HIDEKEYBOARD        hide every pad; wParam, lParam not read. Send it when the focus
 *                               goes to something that is no input field.
 *   QDM32_1_TERMINATEKEYBOARD   end the keyboard; wParam, lParam not read; returns 0.
 *   QDM1_LANGUAGE               wParam = language id (e.g. 1031 German, 1033 English).
 *   QDM32_1_TOUCHPOSITION       lParam = a PMXTK_PLACE_ value, for the pads shown from then on.
 *   QDM32_1_TOUCHSHOWLIMITS     lParam = PMXTK_LIMITS_HIDE or _SHOW, for the pads shown from then.
 *   QDM32_1_TOUCHKEYSIZE        lParam = pmxtk_key_size_bits(factor); reloads the pads.
 */

/* ---- The notify record -------------------------------------------------------------------- */

#define PMXTK_LIMIT_TEXT_BYTES 255
#define PMXTK_NOTIFY_RECORD_BYTES 516

/*
 * What a notify request tells of the field, 516 bytes, little-endian, no gaps. The limits are
 * texts in the system's ANSI code page, each ending in a NUL within its 255 bytes (at most 254
 * characters); the value pads show them as they are, in whatever base the host writes them.
 */
#pragma pack(push, 1)
typedef struct PMXTK_NOTIFY_RECORD {
  int16_t reserved;    /* offset 0: 0 */
  int16_t fieldType;   /* offset 2: a PMXTK_FIELD_ value */
  int16_t valueFormat; /* offset 4: a PMXTK_FORMAT_ value, for the typed numeric fields */
  char limitMin[PMXTK_LIMIT_TEXT_BYTES]; /* offset 6: lower limit */
  char limitMax[PMXTK_LIMIT_TEXT_BYTES]; /* offset 261: upper limit */
} PMXTK_NOTIFY_RECORD;
#pragma pack(pop)

#if defined(__cplusplus)
#define PMXTK_STATIC_ASSERT(condition, name) static_assert(condition, #name)
#elif defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L
#define PMXTK_STATIC_ASSERT(condition, name) _Static_assert(condition, #name)
#else
#define PMXTK_STATIC_ASSERT(condition, name) typedef char pmxtk_assert_##name[(condition) ? 1 : -1]
#endif
PMXTK_STATIC_ASSERT(sizeof(PMXTK_NOTIFY_RECORD) == PMXTK_NOTIFY_RECORD_BYTES, record_size);
PMXTK_STATIC_ASSERT(offsetof(PMXTK_NOTIFY_RECORD, fieldType) == 2, field_type_offset);
PMXTK_STATIC_ASSERT(offsetof(PMXTK_NOTIFY_RECORD, valueFormat) == 4, value_format_offset);
PMXTK_STATIC_ASSERT(offsetof(PMXTK_NOTIFY_RECORD, limitMin) == 6, limit_min_offset);
PMXTK_STATIC_ASSERT(offsetof(PMXTK_NOTIFY_RECORD, limitMax) == 261, limit_max_offset);

/* ---- Field types, value formats and pads -------------------------------------------------- */

/*
 *  field type                          value format             pad
 *  295, 305, 356                       any                      decimal
 *  306, 307, 310, 370, 371, 374        0 or 3                   decimal
 *                                      1                        binary
 *                                      2                        hexadecimal
 *                                      any other                none: the pad on screen stays
 *  265 and every other type            any                      alphanumeric
 */
#define PMXTK_FIELD_TEXT 265
#define PMXTK_FIELD_DECIMAL_295 295
#define PMXTK_FIELD_DECIMAL_305 305
#define PMXTK_FIELD_DECIMAL_356 356
#define PMXTK_FIELD_NUMERIC_306 306
#define PMXTK_FIELD_NUMERIC_307 307
#define PMXTK_FIELD_NUMERIC_310 310
#define PMXTK_FIELD_NUMERIC_370 370
#define PMXTK_FIELD_NUMERIC_371 371
#define PMXTK_FIELD_NUMERIC_374 374

#define PMXTK_FORMAT_DECIMAL 0
#define PMXTK_FORMAT_BINARY 1
#define PMXTK_FORMAT_HEXADECIMAL 2
#define PMXTK_FORMAT_DECIMAL_3 3 /* a second decimal format of the host's; the same pad as 0 */

#define PMXTK_PAD_NONE (-1)
#define PMXTK_PAD_DECIMAL 0
#define PMXTK_PAD_ALPHANUMERIC 1
#define PMXTK_PAD_HEXADECIMAL 2
#define PMXTK_PAD_BINARY 3

/* The pad the keyboard shows for a field, or PMXTK_PAD_NONE. */
static inline int pmxtk_pad_for_field(int16_t fieldType, int16_t valueFormat) {
  switch (fieldType) {
    case PMXTK_FIELD_DECIMAL_295:
    case PMXTK_FIELD_DECIMAL_305:
    case PMXTK_FIELD_DECIMAL_356:
      return PMXTK_PAD_DECIMAL;
    case PMXTK_FIELD_NUMERIC_306:
    case PMXTK_FIELD_NUMERIC_307:
    case PMXTK_FIELD_NUMERIC_310:
    case PMXTK_FIELD_NUMERIC_370:
    case PMXTK_FIELD_NUMERIC_371:
    case PMXTK_FIELD_NUMERIC_374:
      switch (valueFormat) {
        case PMXTK_FORMAT_DECIMAL:
        case PMXTK_FORMAT_DECIMAL_3:
          return PMXTK_PAD_DECIMAL;
        case PMXTK_FORMAT_BINARY:
          return PMXTK_PAD_BINARY;
        case PMXTK_FORMAT_HEXADECIMAL:
          return PMXTK_PAD_HEXADECIMAL;
        default:
          return PMXTK_PAD_NONE;
      }
    default:
      return PMXTK_PAD_ALPHANUMERIC;
  }
}

/* Fills a record; limit texts longer than 254 bytes are cut, NULL is an empty text. */
static inline PMXTK_NOTIFY_RECORD pmxtk_notify_record(int16_t fieldType, int16_t valueFormat,
                                                      const char* limitMin,
                                                      const char* limitMax) {
  PMXTK_NOTIFY_RECORD record;
  memset(&record, 0, sizeof record);
  record.fieldType = fieldType;
  record.valueFormat = valueFormat;
  if (limitMin != NULL) strncpy(record.limitMin, limitMin, PMXTK_LIMIT_TEXT_BYTES - 1);
  if (limitMax != NULL) strncpy(record.limitMax, limitMax, PMXTK_LIMIT_TEXT_BYTES - 1);
  return record;
}

/* ---- Placement, limit display, key size --------------------------------------------------- */

/* lParam of QDM32_1_TOUCHPOSITION. Any other value leaves a pad where it was last shown. */
#define PMXTK_PLACE_KEEP_CLEAR 0  /* where it was, or the first screen corner clear of the field */
#define PMXTK_PLACE_BESIDE 1      /* below the field, else above, else to its right or left */
#define PMXTK_PLACE_CENTRED 2     /* centred on the screen */

/* lParam of QDM32_1_TOUCHSHOWLIMITS: any value but 0 shows the limits. */
#define PMXTK_LIMITS_HIDE 0
#define PMXTK_LIMITS_SHOW 1

/*
 * lParam of QDM32_1_TOUCHKEYSIZE: the 32 bits of a single-precision float, the factor by which
 * every key and the pad grow (1.5 is 0x3FC00000). Factors outside this range, and values that are
 * no finite number, are ignored: the previous factor stays.
 */
#define PMXTK_KEY_SIZE_MIN 0.1f
#define PMXTK_KEY_SIZE_MAX 10.0f

PMXTK_STATIC_ASSERT(sizeof(float) == sizeof(uint32_t), float_is_32_bits);

static inline uint32_t pmxtk_key_size_bits(float factor) {
  uint32_t bits;
  memcpy(&bits, &factor, sizeof bits);
  return bits;
}

#endif /* PMXTOUCHKEYBOARD_H */
