// A small test framework for the end-to-end cases: each case is a function registered by name,
// run by name from CTest (one process per case), and reported in plain text.
#pragma once

#include <sstream>
#include <string>
#include <utility>

namespace e2e {

// The result of the case that is running.
class Case {
 public:
  explicit Case(std::string name) : name_(std::move(name)) {}

  const std::string& name() const { return name_; }
  bool failed() const { return failures_ != 0; }
  int failures() const { return failures_; }

  // Records a failure unless ok; returns ok.
  bool check(bool ok, const char* expression, const char* file, int line,
             const std::string& detail = std::string());

  template <typename A, typename B>
  bool checkEqual(const A& actual, const B& expected, const char* actualText,
                  const char* expectedText, const char* file, int line) {
    if (actual == expected) return true;
    std::ostringstream detail;
    detail << "got " << actual << ", expected " << expected;
    std::string expression = std::string(actualText) + " == " + expectedText;
    return check(false, expression.c_str(), file, line, detail.str());
  }

  // A line of context printed with the case's output (what the case is doing now).
  void note(const std::string& text);

 private:
  std::string name_;
  int failures_ = 0;
};

using CaseFunction = void (*)(Case&);

struct Registrar {
  Registrar(const char* name, CaseFunction function);
};

// The keyboard executable under test, as given on the command line (a Windows path).
const std::string& keyboardExe();

}  // namespace e2e

// Defines a case. Inside it, `t` is the running Case. Write it at the start of a line:
// tests/e2e/CMakeLists.txt finds the cases by that pattern.
#define E2E_CASE(name)                                                             \
  static void e2e_case_##name(::e2e::Case& t);                                     \
  static const ::e2e::Registrar e2e_registrar_##name(#name, &e2e_case_##name);      \
  static void e2e_case_##name(::e2e::Case& t)

#define E2E_CHECK(condition) t.check(static_cast<bool>(condition), #condition, __FILE__, __LINE__)
#define E2E_CHECK_MSG(condition, detail) \
  t.check(static_cast<bool>(condition), #condition, __FILE__, __LINE__, (detail))
#define E2E_CHECK_EQ(actual, expected) \
  t.checkEqual((actual), (expected), #actual, #expected, __FILE__, __LINE__)
// Ends the case when the condition does not hold (what follows would only fail in its wake).
#define E2E_REQUIRE(condition)      \
  do {                              \
    if (!E2E_CHECK(condition)) return; \
  } while (0)
#define E2E_REQUIRE_MSG(condition, detail)      \
  do {                                          \
    if (!E2E_CHECK_MSG(condition, detail)) return; \
  } while (0)
