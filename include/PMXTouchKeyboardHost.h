/*
 * PMXTouchKeyboardHost.h - Win32 helpers for a host of PMXTouchKeyboard (C and C++): register
 * the messages, start the keyboard with the right command line, send its requests.
 *
 * The protocol itself is in PMXTouchKeyboard.h, which this header includes.
 */
#ifndef PMXTOUCHKEYBOARDHOST_H
#define PMXTOUCHKEYBOARDHOST_H

#include <windows.h>

#include "PMXTouchKeyboard.h"

/* How long a request may take before the host gives up on a keyboard that does not answer. */
#define PMXTK_REQUEST_TIMEOUT_MS 5000

/* The ids of the registered messages; 0 where a registration failed. */
typedef struct PMXTK_MESSAGES {
  UINT keyboardHandle;     /* keyboard -> controller: wParam = the keyboard's message window */
  UINT terminateKeyboard;
  UINT hideKeyboard;
  UINT notifyKeyboard;     /* the dwData of the notify request's WM_COPYDATA */
  UINT language;
  UINT touchKeyboardHides; /* keyboard -> controller: the user closed the pad */
  UINT touchPosition;
  UINT touchShowLimits;
  UINT touchKeySize;
} PMXTK_MESSAGES;

/* Registers the nine names; TRUE when every registration succeeded. */
static inline BOOL pmxtk_register_messages(PMXTK_MESSAGES* ids) {
  ids->keyboardHandle = RegisterWindowMessageA(PMXTK_MSG_KEYBOARDHANDLE);
  ids->terminateKeyboard = RegisterWindowMessageA(PMXTK_MSG_TERMINATEKEYBOARD);
  ids->hideKeyboard = RegisterWindowMessageA(PMXTK_MSG_HIDEKEYBOARD);
  ids->notifyKeyboard = RegisterWindowMessageA(PMXTK_MSG_NOTIFYKEYBOARD);
  ids->language = RegisterWindowMessageA(PMXTK_MSG_LANGUAGE);
  ids->touchKeyboardHides = RegisterWindowMessageA(PMXTK_MSG_TOUCHKEYBOARDHIDES);
  ids->touchPosition = RegisterWindowMessageA(PMXTK_MSG_TOUCHPOSITION);
  ids->touchShowLimits = RegisterWindowMessageA(PMXTK_MSG_TOUCHSHOWLIMITS);
  ids->touchKeySize = RegisterWindowMessageA(PMXTK_MSG_TOUCHKEYSIZE);
  return ids->keyboardHandle && ids->terminateKeyboard && ids->hideKeyboard &&
         ids->notifyKeyboard && ids->language && ids->touchKeyboardHides &&
         ids->touchPosition && ids->touchShowLimits && ids->touchKeySize;
}

/* Appends text to a buffer of `capacity` characters; FALSE when it does not fit. */
static inline BOOL pmxtk_append_(WCHAR* buffer, size_t capacity, const WCHAR* text) {
  size_t used = (size_t)lstrlenW(buffer);
  size_t length = (size_t)lstrlenW(text);
  if (used + length + 1 > capacity) return FALSE;
  memcpy(buffer + used, text, (length + 1) * sizeof(WCHAR));
  return TRUE;
}

static inline BOOL pmxtk_append_number_(WCHAR* buffer, size_t capacity, DWORD value) {
  WCHAR digits[11];
  int at = 10;
  digits[10] = 0;
  do {
    digits[--at] = (WCHAR)(L'0' + value % 10);
    value /= 10;
  } while (value != 0);
  return pmxtk_append_(buffer, capacity, digits + at);
}

/*
 * Starts the keyboard: `exe` is the path of PMXTouchKeyboard.exe; `controller` the window that
 * receives QDM32_1_KEYBOARDHANDLE and QDM32_1_TOUCHKEYBOARDHIDES; `guiThread` the thread that owns
 * the input fields (GetCurrentThreadId() on that thread). The project name must not hold blanks.
 * On success the caller closes the two handles in *process (or keeps the process handle to see
 * the keyboard end). The keyboard then announces itself to `controller`.
 */
static inline BOOL pmxtk_start_keyboard(const WCHAR* exe, const WCHAR* project, HWND controller,
                                        DWORD guiThread, PROCESS_INFORMATION* process) {
  WCHAR commandLine[MAX_PATH + 128];
  STARTUPINFOW startup;
  commandLine[0] = 0;
  if (!pmxtk_append_(commandLine, MAX_PATH + 128, L"\"") ||
      !pmxtk_append_(commandLine, MAX_PATH + 128, exe) ||
      !pmxtk_append_(commandLine, MAX_PATH + 128, L"\" /Project:") ||
      !pmxtk_append_(commandLine, MAX_PATH + 128, project) ||
      !pmxtk_append_(commandLine, MAX_PATH + 128, L" /Controller:") ||
      /* a window handle's value fits in 32 bits, in 32-bit and 64-bit processes alike */
      !pmxtk_append_number_(commandLine, MAX_PATH + 128, (DWORD)(ULONG_PTR)controller) ||
      !pmxtk_append_(commandLine, MAX_PATH + 128, L" /Thread:") ||
      !pmxtk_append_number_(commandLine, MAX_PATH + 128, guiThread)) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return FALSE;
  }
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  ZeroMemory(process, sizeof *process);
  return CreateProcessW(exe, commandLine, NULL, NULL, FALSE, 0, NULL, NULL, &startup, process);
}

/* Sends a request and waits for the answer; FALSE when the keyboard did not answer in time. */
static inline BOOL pmxtk_send(HWND keyboard, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (keyboard == NULL || message == 0) return FALSE;
  return SendMessageTimeoutW(keyboard, message, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_NORMAL,
                             PMXTK_REQUEST_TIMEOUT_MS, &result) != 0;
}

/* The notify request for the field that just got the focus. */
static inline BOOL pmxtk_notify(HWND keyboard, const PMXTK_MESSAGES* ids, HWND field,
                                int16_t fieldType, int16_t valueFormat, const char* limitMin,
                                const char* limitMax) {
  PMXTK_NOTIFY_RECORD record = pmxtk_notify_record(fieldType, valueFormat, limitMin, limitMax);
  COPYDATASTRUCT data;
  data.dwData = ids->notifyKeyboard;
  data.cbData = sizeof record;
  data.lpData = &record;
  if (ids->notifyKeyboard == 0) return FALSE;
  return pmxtk_send(keyboard, WM_COPYDATA, (WPARAM)field, (LPARAM)&data);
}

static inline BOOL pmxtk_hide(HWND keyboard, const PMXTK_MESSAGES* ids) {
  return pmxtk_send(keyboard, ids->hideKeyboard, 0, 0);
}

static inline BOOL pmxtk_terminate(HWND keyboard, const PMXTK_MESSAGES* ids) {
  return pmxtk_send(keyboard, ids->terminateKeyboard, 0, 0);
}

static inline BOOL pmxtk_set_language(HWND keyboard, const PMXTK_MESSAGES* ids, int languageId) {
  return pmxtk_send(keyboard, ids->language, (WPARAM)languageId, 0);
}

/* mode: a PMXTK_PLACE_ value. */
static inline BOOL pmxtk_set_placement(HWND keyboard, const PMXTK_MESSAGES* ids, int mode) {
  return pmxtk_send(keyboard, ids->touchPosition, 0, (LPARAM)mode);
}

static inline BOOL pmxtk_show_limits(HWND keyboard, const PMXTK_MESSAGES* ids, BOOL show) {
  return pmxtk_send(keyboard, ids->touchShowLimits, 0, show ? PMXTK_LIMITS_SHOW : PMXTK_LIMITS_HIDE);
}

/* factor: from PMXTK_KEY_SIZE_MIN to PMXTK_KEY_SIZE_MAX; the pads are reloaded and hidden. */
static inline BOOL pmxtk_set_key_size(HWND keyboard, const PMXTK_MESSAGES* ids, float factor) {
  return pmxtk_send(keyboard, ids->touchKeySize, 0, (LPARAM)pmxtk_key_size_bits(factor));
}

#endif /* PMXTOUCHKEYBOARDHOST_H */
