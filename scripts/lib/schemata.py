"""Mutant schemata: many mutants compiled into one build, each behind a run-time switch.

A mutant is a line of a source file replaced by another. To build many of them at once, each one
is put where both the mutated and the original code are valid C++, selected at run time by the
number in the environment variable PMX_MUTANT (read once, see PRELUDE), so that one build of the
unit tests serves all of them and a mutant costs one run of the tests. The switches:

  stmt   a statement that declares nothing:
           { const int pmx_m = pmx_site(12, 13);
             if (pmx_m == 12) { <mutated> } else if (pmx_m == 13) { <mutated> }
             else { <original> } }
  cond   the condition of if, while, do-while and for, each side converted to bool as the
         statement itself would:
           if ((pmx_site(12, 12) == 0 ? static_cast<bool>(<original>)
                : pmx_on(12) ? static_cast<bool>(<mutated>) : static_cast<bool>(<original>)))
  value  an initializer, a switch value, a range-for range: a conditional expression, only where
         both sides have the same type and value category (checked at compile time), so that
         nothing deduced or converted changes; a for-loop's increment: both sides cast to void
  rest   a declaration that cannot take a `value` switch (a braced or constexpr initializer, the
         name's type): the declaration and the rest of its block, switched as one statement

Only mutants inside the bodies of functions that are not constexpr get a switch: anything at
namespace or class scope, in constant expressions, member initializer lists and default arguments
is left to the one-mutant-per-build mode. Sites nest (a `stmt` switch can hold another), and the
mutated copy of a site holds the switches of the other mutants inside it unchanged, so that
exactly one mutant is active whatever its depth. Each output line is tagged with the mutants
whose switch or copy it belongs to, so that the caller can tell from a compiler error whose
switch does not compile; that mutant also goes to the one-mutant-per-build mode.

The parser reads the text as tokens (comments and the contents of literals masked out first,
see mutants.mask) and follows statements by their keywords and brace, paren and bracket depth.
"""

import re

PRELUDE = """\
// Force-included into every file of the mutant schemata build (see scripts/lib/schemata.py).
#ifndef PMX_MUTANT_PRELUDE_H
#define PMX_MUTANT_PRELUDE_H
#include <cstdio>
#include <cstdlib>
#include <vector>
// The active mutant is the number in PMX_MUTANT (none when it is not set), read once, on first
// use, so that no static initializer can see it before it is set. With PMX_MUTANT_TRACE naming a
// file, the number of every switch the run reaches is written there the first time.
struct PmxTrace {
  std::FILE* file;
  std::vector<bool> reached;
};
inline PmxTrace* pmx_trace() {  // never destroyed: a static destructor may still pass a switch
  static PmxTrace* trace = [] {
    const char* path = std::getenv("PMX_MUTANT_TRACE");
    std::FILE* file = path != nullptr ? std::fopen(path, "w") : nullptr;
    return file != nullptr ? new PmxTrace{file, {}} : nullptr;
  }();
  return trace;
}
__attribute__((noinline, cold)) inline void pmx_reached(int n) {
  PmxTrace& trace = *pmx_trace();
  if (static_cast<std::size_t>(n) >= trace.reached.size()) trace.reached.resize(n + 1);
  if (!trace.reached[n]) {
    trace.reached[n] = true;
    std::fprintf(trace.file, "%d\\n", n);
    std::fflush(trace.file);
  }
}
// Twice the active mutant, plus 1 when tracing; -1 until read. Constant-initialized, so that it
// is -1 and not garbage before any static initializer runs, and a plain load: switches sit in hot
// loops.
inline int pmx_state_value = -1;
__attribute__((noinline, cold)) inline int pmx_read_state() {
  const char* text = std::getenv("PMX_MUTANT");
  pmx_state_value = (text != nullptr ? std::atoi(text) : 0) * 2 + (pmx_trace() != nullptr ? 1 : 0);
  return pmx_state_value;
}
// The active mutant if it is one of first..last (the mutants of one site), else 0. Every site
// passes here first, so a site costs one load and two compares when none of its mutants is on.
__attribute__((always_inline)) inline int pmx_site(int first, int last) {
  int state = pmx_state_value;
  if (state < 0) state = pmx_read_state();
  if ((state & 1) != 0) pmx_reached(first);
  return first <= state >> 1 && state >> 1 <= last ? state >> 1 : 0;
}
__attribute__((always_inline)) inline bool pmx_on(int n) { return n == pmx_state_value >> 1; }
// Compiles only when both sides of a `value` switch have one type and value category.
template <class Mutated, class Original> struct pmx_same_type;
template <class T> struct pmx_same_type<T, T> { static constexpr int ok = 0; };
#endif
"""

# --- Tokens -----------------------------------------------------------------------------------

PUNCTUATORS = sorted("""
>>= <<= ... ->* :: -> ++ -- << >> <= >= == != && || += -= *= /= %= &= |= ^= .*
{ } [ ] ( ) ; : ? , . + - * / % ^ & | ~ ! = < > #
""".split(), key=len, reverse=True)
IDENT = re.compile(r"[A-Za-z_]\w*")
NUMBER = re.compile(r"\.?\d(?:[eEpP][+-]|[\w.']|)*")


class Tok:
    __slots__ = ("kind", "text", "start", "end")

    def __init__(self, kind, text, start, end):
        self.kind, self.text, self.start, self.end = kind, text, start, end

    def __repr__(self):
        return f"{self.text}@{self.start}"


def tokenize(code):
    """Tokens of masked text: 'id', 'num', 'str' (a string or character literal), 'pp' (a whole
    preprocessor line) and 'punct'."""
    toks, i, n, line_start = [], 0, len(code), True
    while i < n:
        c = code[i]
        if c == "\n":
            line_start = True
            i += 1
            continue
        if c.isspace():
            i += 1
            continue
        if c == "#" and line_start:
            end = i
            while True:
                end = code.find("\n", end)
                if end < 0:
                    end = n
                    break
                if code[end - 1] != "\\":
                    break
                end += 1
            toks.append(Tok("pp", code[i:end], i, end))
            i = end
            continue
        line_start = False
        if c.isalpha() or c == "_":
            m = IDENT.match(code, i)
            kind = "id"
        elif c.isdigit() or (c == "." and code[i + 1:i + 2].isdigit()):
            m = NUMBER.match(code, i)
            kind = "num"
        elif c in "\"'":
            end = code.find(c, i + 1)  # the contents are masked: the next quote closes it
            end = n if end < 0 else end + 1
            toks.append(Tok("str", code[i:end], i, end))
            i = end
            continue
        else:
            p = next((p for p in PUNCTUATORS if code.startswith(p, i)), c)
            toks.append(Tok("punct", p, i, i + len(p)))
            i += len(p)
            continue
        toks.append(Tok(kind, m.group(0), i, m.end()))
        i = m.end()
    return toks


# --- Syntax: function bodies, statements, sites -----------------------------------------------

OPEN, CLOSE = {"(": ")", "[": "]", "{": "}"}, {")", "]", "}"}
TYPE_WORDS = {"const", "constexpr", "static", "thread_local", "volatile", "inline", "auto",
              "unsigned", "signed", "int", "long", "short", "char", "bool", "float", "double",
              "void", "wchar_t", "char16_t", "char32_t", "struct", "class", "enum", "union",
              "typename", "using", "typedef", "static_assert", "namespace", "register",
              "extern", "mutable"}
STATEMENT_WORDS = {"return", "break", "continue", "throw", "goto", "delete", "new", "this",
                   "sizeof", "co_return", "co_yield", "co_await"}
SCOPE_WORDS = {"namespace", "struct", "class", "union"}


class Unit:
    """A piece of a function body that can hold a switch: kind (see the module's doc), the
    offsets [start, end) of its text, and the blocks inside it (lambda bodies)."""
    __slots__ = ("kind", "start", "end", "depth")

    def __init__(self, kind, start, end, depth):
        self.kind, self.start, self.end, self.depth = kind, start, end, depth


class Syntax:
    """The units of one file, found from its masked text."""

    def __init__(self, code):
        self.code = code
        self.toks = tokenize(code)
        self.match = self._matching()
        self.units = []  # every unit, in no particular order
        self.bodies = []  # (start, end) of function bodies that may hold switches
        self._labelled = {}  # token of a block's `{` -> whether labels stand in it
        self._depth = 0
        self._scope(0, len(self.toks))

    def _matching(self):
        match, stack = {}, []
        for k, t in enumerate(self.toks):
            if t.kind != "punct":
                continue
            if t.text in OPEN:
                stack.append(k)
            elif t.text in CLOSE and stack:
                match[stack.pop()] = k
        return match

    def text(self, k):
        return self.toks[k].text if k < len(self.toks) else ""

    def close(self, k):  # the token that closes the bracket at k (or the end)
        return self.match.get(k, len(self.toks) - 1)

    # Namespace and class scope: only looks for function bodies.
    def _scope(self, k, end):
        toks = self.toks
        decl_start = k
        while k < end:
            t = toks[k]
            if t.kind == "pp" or t.text == ";":
                k += 1
                decl_start = k
                continue
            if t.text == ":" and k == decl_start + 1 and toks[decl_start].text in (
                    "public", "private", "protected"):
                k += 1
                decl_start = k
                continue
            if t.text in ("(", "["):
                k = self.close(k) + 1
                continue
            if t.text == "}":  # a stray one: stop here
                return
            if t.text != "{":
                k += 1
                continue
            head = [x.text for x in toks[decl_start:k]]
            if head[:1] == ["template"]:
                head = self._after_template(head)
            close = self.close(k)
            if self._is_scope(head):
                if "enum" not in head:
                    self._scope(k + 1, close)
                k = decl_start = close + 1
            elif self._in_member_initializers(head):
                k = close + 1  # `member_{value}`
            elif self._is_function_body(head):
                if "constexpr" not in head and "consteval" not in head:
                    self.bodies.append((t.start, toks[close].end))
                    self._block(k)
                k = decl_start = close + 1
            else:
                k = close + 1  # an initializer
        return

    @staticmethod
    def _is_scope(head):
        if not head:
            return False
        if head[0] == "namespace" or (head[0] == "extern" and len(head) == 2):
            return True
        return (any(w in ("struct", "class", "union", "enum") for w in head)
                and "(" not in head and "=" not in head)

    @staticmethod
    def _in_member_initializers(head):
        """Whether a `{` after these tokens initializes a member: a constructor's `) :` came
        before, and a name stands right before it."""
        if not head or not (IDENT.fullmatch(head[-1]) or head[-1] == ">"):
            return False
        depth = 0
        for i, w in enumerate(head):
            if w in ("(", "[", "{"):
                depth += 1
            elif w in (")", "]", "}"):
                depth -= 1
            elif w == ":" and depth == 0 and i and head[i - 1] == ")":
                return True
        return False

    @staticmethod
    def _after_template(head):
        depth = 0
        for i, w in enumerate(head):
            if w == "<":
                depth += 1
            elif w == ">":
                depth -= 1
            elif w == ">>":
                depth -= 2
            if depth <= 0 and i > 1:
                return head[i + 1:]
        return head

    @staticmethod
    def _is_function_body(head):
        """Whether `{` after these tokens opens a function body: a declarator with parameters,
        then qualifiers, a trailing return type or a member initializer list, no `=`."""
        if "(" not in head or not head:
            return False
        depth = 0
        for i, w in enumerate(head):
            if w == "operator":
                return True
            if w in ("(", "[", "{"):
                depth += 1
            elif w in (")", "]", "}"):
                depth -= 1
            elif w == "=" and depth == 0:
                return False
        return head[-1] in (")", "const", "noexcept", "override", "final", "}", "&", "&&") or \
            "->" in head or ":" in head

    # Function bodies: statements.
    def _block(self, k):
        """Parses the compound statement opening at k; returns the token after its `}`."""
        close = self.close(k)
        statements = []
        i = k + 1
        self._depth += 1
        while i < close:
            j, kind = self._statement(i, close)
            statements.append((i, j, kind))
            i = j
        self._depth -= 1
        self._rest_units(statements, close)
        self._labelled[k] = any(kind == "label" for _, _, kind in statements)
        return close + 1

    def _rest_units(self, statements, close):
        """A declaration and everything after it up to the end of its block, where no label of
        the block follows it (a switch would then jump into the new block)."""
        labels_after = False
        for i, j, kind in reversed(statements):
            if kind == "label" or kind == "pp":
                labels_after = True
            if kind == "decl" and not labels_after:
                self._unit("rest", i, close - 1)

    def _unit(self, kind, first, last):
        """A unit from token first to token last (both included)."""
        if first <= last:
            self.units.append(Unit(kind, self.toks[first].start, self.toks[last].end,
                                   self._depth))

    def _statement(self, i, end):
        """Parses one statement from token i; returns (token after it, kind) with kind one of
        'stmt', 'decl', 'label', 'pp', 'empty'."""
        toks, w = self.toks, self.text(i)
        t = toks[i]
        if t.kind == "pp":
            return i + 1, "pp"
        if w == ";":
            return i + 1, "empty"
        if w == "{":
            j = self._block(i)
            if not self._labelled[i]:  # a switch's body: its labels must stay in the switch
                self._unit("stmt", i, j - 1)
            return j, "stmt"
        if w in ("case", "default"):
            j = i
            while j < end and self.text(j) != ":":
                j = self.close(j) + 1 if self.text(j) in OPEN else j + 1
            return j + 1, "label"
        if t.kind == "id" and self.text(i + 1) == ":" and w not in TYPE_WORDS:
            return i + 2, "label"
        if w in ("if", "while", "switch", "for"):
            p = i + 1
            if self.text(p) == "constexpr":
                p += 1
            if self.text(p) != "(":
                return self._simple(i, end)
            close = self.close(p)
            self._header(w, p + 1, close)
            j, _ = self._statement(close + 1, end)
            if w == "if" and self.text(j) == "else":
                j, _ = self._statement(j + 1, end)
            self._unit("stmt", i, j - 1)
            return j, "stmt"
        if w == "do":
            j, _ = self._statement(i + 1, end)
            if self.text(j) == "while" and self.text(j + 1) == "(":
                close = self.close(j + 1)
                self._header("while", j + 2, close)
                j = close + 1
                if self.text(j) == ";":
                    self._unit("stmt", i, j)
                    return j + 1, "stmt"
            return j, "stmt"
        if w == "try":
            j = self._block(i + 1) if self.text(i + 1) == "{" else i + 1
            while self.text(j) == "catch" and self.text(j + 1) == "(":
                j = self.close(j + 1) + 1
                if self.text(j) == "{":
                    j = self._block(j)
            self._unit("stmt", i, j - 1)
            return j, "stmt"
        return self._simple(i, end)

    def _simple(self, i, end):
        """An expression statement, a declaration, return and the like: up to its `;`."""
        j = self._expression(i, end, {";"})
        if self._is_declaration(i, j):
            self._initializer(i, j)
            return j + 1, "decl"
        self._unit("stmt", i, j)
        return j + 1, "stmt"

    def _expression(self, i, end, stops):
        """Skips tokens from i up to the first of `stops` outside brackets (returns its index),
        parsing lambda bodies on the way."""
        while i < end:
            w = self.text(i)
            if w in stops:
                return i
            if w == "{":
                if self._opens_lambda(i):
                    i = self._block(i)
                else:
                    self._expression(i + 1, self.close(i), set())
                    i = self.close(i) + 1
                continue
            if w in ("(", "["):
                self._expression(i + 1, self.close(i), set())
                i = self.close(i) + 1
                continue
            i += 1
        return i

    def _opens_lambda(self, k):
        before = self.text(k - 1) if k else ""
        if before in (")", "]", "mutable", "noexcept", "constexpr"):
            return True
        # `-> Type {` after a lambda's parameters
        j = k - 1
        while j > 0 and (self.toks[j].kind == "id" or self.text(j) in ("::", "<", ">", "*", "&")):
            j -= 1
        return self.text(j) == "->"

    def _is_declaration(self, i, j):
        toks = self.toks
        if toks[i].kind != "id" and self.text(i) != "::":
            return False
        if self.text(i) in TYPE_WORDS:
            return True
        if self.text(i) in STATEMENT_WORDS:
            return False
        k = i
        if self.text(k) == "::":
            k += 1
        while True:  # a (qualified, templated) type name
            if toks[k].kind != "id":
                return False
            k += 1
            if self.text(k) == "<":
                depth = 0
                while k < j:
                    w = self.text(k)
                    depth += {"<": 1, ">": -1, ">>": -2}.get(w, 0)
                    if w in ("(", "["):
                        k = self.close(k)
                    k += 1
                    if depth <= 0:
                        break
            if self.text(k) == "::":
                k += 1
                continue
            break
        while self.text(k) in ("*", "&", "&&", "const", "volatile"):
            k += 1
        return toks[k].kind == "id" and self.text(k + 1) in ("=", "(", "{", ";", ",", "[", ":")

    def _initializer(self, i, j):
        """The `value` unit of a declaration `T name = expression;` (one name, not constexpr,
        no braces, no lambda)."""
        words = [self.text(k) for k in range(i, j)]
        if "constexpr" in words or "typedef" in words or "using" in words:
            return
        k, depth = i, 0
        while k < j:
            w = self.text(k)
            if w in OPEN:
                k = self.close(k) + 1
                continue
            if w == "=":
                break
            k += 1
        if k >= j - 1 or self.text(k + 1) == "{":
            return
        self._value(k + 1, j)

    def _value(self, first, stop):
        """A `value` unit over tokens [first, stop), unless it holds a lambda, a braced list
        or a comma outside brackets."""
        k = first
        while k < stop:
            w = self.text(k)
            if w == "," or w == "{":
                return
            if w in ("(", "["):
                inner = [self.text(x) for x in range(k, self.close(k))]
                if "{" in inner:
                    return
                k = self.close(k) + 1
                continue
            k += 1
        self._unit("value", first, stop - 1)

    def _header(self, word, first, close):
        """Units of an if, while, switch or for header between its parens."""
        parts, k, start = [], first, first
        while k < close:  # split at `;` outside brackets
            w = self.text(k)
            if w in OPEN:
                self._expression(k + 1, self.close(k), set())
                k = self.close(k) + 1
                continue
            if w == ";":
                parts.append((start, k))
                start = k + 1
            k += 1
        parts.append((start, close))
        if word == "for" and len(parts) == 3:
            (a, b), (c, d), (e, f) = parts
            if self._is_declaration(a, b):
                self._initializer(a, b)
            elif b > a:
                self._unit("void", a, b - 1)
            if d > c:
                self._unit("cond", c, d - 1)
            if f > e:
                self._unit("void", e, f - 1)
            return
        if word == "for":  # range-for: `declaration : range`
            a, b = parts[0]
            colon = next((k for k in range(a, b) if self.text(k) == ":"), None)
            if colon is not None:
                self._value(colon + 1, b)
            return
        if len(parts) > 1:
            return  # an init-statement: the whole statement takes the switch
        a, b = parts[0]
        if b <= a or self._is_declaration(a, b):
            return
        self._unit("value" if word == "switch" else "cond", a, b - 1)


# --- Placing mutants on sites -----------------------------------------------------------------


def line_edit(m, code_line):
    """The mutant as the smallest replacement of offsets [start, end) of its line by a text. A
    deleted call statement becomes an empty statement (`code_line`, the line with comments
    blanked, tells where the statement ends)."""
    old, new = m.old, m.new
    if m.op == "call":
        stmt = code_line.strip()
        start = code_line.index(stmt)
        return start, start + len(stmt), ";"
    p = 0
    while p < min(len(old), len(new)) and old[p] == new[p]:
        p += 1
    s = 0
    while s < min(len(old), len(new)) - p and old[-1 - s] == new[-1 - s]:
        s += 1
    return p, len(old) - s, new[p:len(new) - s]


class Site:
    __slots__ = ("kind", "start", "end", "mutants", "children")

    def __init__(self, kind, start, end):
        self.kind, self.start, self.end = kind, start, end
        self.mutants, self.children = [], []


# Of units over the same text, the expression switches go inside the statement ones.
KIND_ORDER = {"cond": 0, "value": 0, "void": 0, "stmt": 1, "rest": 2}


class Schema:
    """The schemata of one file: which of its mutants can take a switch (`sites_of`), and the
    generated text for a set of them (`render`)."""

    def __init__(self, text, code, mutants):
        self.text = text
        self.syntax = Syntax(code)
        line_starts = [0] + [i + 1 for i, c in enumerate(text) if c == "\n"]
        self.edits = {}  # mutant id -> (start, end, replacement) in file offsets
        self.sites_of = {}  # mutant id -> (kind, start, end) of its switch
        units = sorted(self.syntax.units, key=lambda u: (u.end - u.start, KIND_ORDER[u.kind]))
        for m in mutants:
            base = line_starts[m.line - 1]
            a, b, new = line_edit(m, code[base:base + len(m.old)])
            a, b = base + a, base + b
            self.edits[m.id] = (a, b, new)
            unit = next((u for u in units if u.start <= a and b <= u.end
                         and (a < b or u.start < a < u.end)), None)
            if unit is not None:
                self.sites_of[m.id] = (unit.kind, unit.start, unit.end)

    def render(self, active):
        """The generated text with a switch for every mutant in `active` (ids that have a site),
        and for each output line (from 0) the set of mutants whose switch or copy it belongs
        to. Raises Unplaced(ids) for mutants whose change crosses another switch."""
        sites = {}
        for mid in active:
            key = self.sites_of[mid]
            sites.setdefault(key, Site(*key)).mutants.append(mid)
        ordered = sorted(sites.values(), key=lambda s: (s.start, -s.end, -KIND_ORDER[s.kind]))
        roots, stack = [], []
        for s in ordered:
            while stack and not (stack[-1].start <= s.start and s.end <= stack[-1].end):
                stack.pop()
            (stack[-1].children if stack else roots).append(s)
            stack.append(s)
        out, self._unplaced, self.site_members = [], set(), {}
        self._span(0, len(self.text), roots, None, None, out)
        if self._unplaced:
            raise Unplaced(self._unplaced)
        lines, owners = [""], [set()]
        for piece, owner in out:
            for n, part in enumerate(piece.split("\n")):
                if n:
                    lines.append("")
                    owners.append(set())
                lines[-1] += part
                if part.strip() and owner is not None:
                    owners[-1].add(owner)
        return "\n".join(lines), owners

    def _span(self, start, end, children, edit, owner, out):
        """Text [start, end) with the switches of `children` and, if given, one edit (a mutant's
        own change, which must lie outside the switches inside it)."""
        pos, applied = start, edit is None
        for child in children + [None]:
            stop = end if child is None else child.start
            if not applied and pos <= edit[0] and edit[1] <= stop and (
                    edit[0] < edit[1] or pos < edit[0] < stop):
                out.append((self.text[pos:edit[0]], owner))
                out.append((edit[2], owner))
                out.append((self.text[edit[1]:stop], owner))
                applied = True
            else:
                out.append((self.text[pos:stop], owner))
            if child is not None:
                self._site(child, owner, out)
                pos = child.end
        if not applied:
            self._unplaced.add(owner)

    def _variant(self, site, mid, out):
        self._span(site.start, site.end, site.children, self.edits[mid], mid, out)

    def _original(self, site, owner, out):
        self._span(site.start, site.end, site.children, None, owner, out)

    def _site(self, site, owner, out):
        ids = sorted(site.mutants, key=lambda x: int(x[1:]))
        numbers = [int(mid[1:]) for mid in ids]
        self.site_members[numbers[0]] = ids
        first = f"pmx_site({numbers[0]}, {numbers[-1]})"
        if site.kind in ("stmt", "rest"):
            out.append((f"{{ const int pmx_m = {first}; ", owner))
            for n, mid in enumerate(ids):
                out.append((("if" if n == 0 else "\n} else if") + f" (pmx_m == {numbers[n]}) {{\n",
                            mid))
                self._variant(site, mid, out)
            out.append(("\n} else {\n", owner))
            self._original(site, owner, out)
            out.append(("\n} }", owner))
            return
        out.append(("(", owner))
        if site.kind == "value":  # first: the same type and value category on both sides
            for mid in ids:
                out.append(("pmx_same_type<decltype((\n", mid))
                self._variant(site, mid, out)
                out.append(("\n)), decltype((\n", mid))
                self._original(site, mid, out)
                out.append(("\n))>::ok,\n", mid))
        cast = {"cond": "static_cast<bool>", "void": "(void)", "value": ""}[site.kind]
        out.append((f"({first} == 0 ? {cast}(\n", owner))  # none of them on: the original
        self._original(site, owner, out)
        out.append(("\n) : ", owner))
        for n, mid in enumerate(ids):
            out.append((f"pmx_on({numbers[n]}) ? {cast}(\n", mid))
            self._variant(site, mid, out)
            out.append(("\n) : ", mid))
        out.append((f"{cast}(\n", owner))
        self._original(site, owner, out)
        out.append(("\n)))", owner))


class Unplaced(Exception):
    def __init__(self, ids):
        super().__init__(f"mutants whose change crosses another switch: {sorted(ids)}")
        self.ids = ids
