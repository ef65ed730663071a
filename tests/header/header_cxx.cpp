/* The public headers compile as C++ with every warning an error; their static assertions hold the
 * record's size and offsets on the compiler that builds this. */
#ifdef _WIN32
#include "PMXTouchKeyboardHost.h"
#else
#include "PMXTouchKeyboard.h"
#endif

int pmxtk_header_compiles_as_cxx() {
  PMXTK_NOTIFY_RECORD record = pmxtk_notify_record(PMXTK_FIELD_NUMERIC_306, PMXTK_FORMAT_BINARY,
                                                   "0", "1111");
  return pmxtk_pad_for_field(record.fieldType, record.valueFormat) +
         (int)(pmxtk_key_size_bits(1.5f) >> 24);
}
