#include "platform/ui/form_reader.h"

#include <cctype>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/core/resources.h"
#include "platform/ui/control.h"

namespace tlb {

// ---- values ----

bool FormValue::AsBool() const {
  if (kind == Identifier && AnsiSameText(text, "True")) return true;
  if (kind == Identifier && AnsiSameText(text, "False")) return false;
  throw EReadError("line " + std::to_string(line) + ": expected True or False");
}

int FormValue::AsInt() const {
  if (kind != Integer) throw EReadError("line " + std::to_string(line) + ": expected a number");
  return int(integer);
}

const std::string& FormValue::AsString() const {
  if (kind != String) throw EReadError("line " + std::to_string(line) + ": expected a string");
  return text;
}

void LoadContext::Fail(const std::string& what) const {
  throw EReadError(file + "(" + std::to_string(line) + "): " + what);
}

// ---- registry ----

ClassRegistry& ClassRegistry::Instance() {
  static ClassRegistry registry;
  return registry;
}

void ClassRegistry::RegisterClass(const std::string& name, const std::string& parent, ComponentFactory factory) {
  Entry& e = classes_[name];
  e.parent = parent;
  e.factory = std::move(factory);
}

void ClassRegistry::RegisterProperty(const std::string& className, const std::string& property, PropertySetter s) {
  classes_[className].properties[property] = std::move(s);
}

bool ClassRegistry::Known(const std::string& className) const { return classes_.count(className) > 0; }

TComponent* ClassRegistry::Create(const std::string& className, TComponent* owner) const {
  auto it = classes_.find(className);
  if (it == classes_.end() || !it->second.factory) return nullptr;
  return it->second.factory(owner);
}

const PropertySetter* ClassRegistry::FindProperty(const std::string& className, const std::string& property) const {
  std::string cls = className;
  for (int depth = 0; depth < 32 && !cls.empty(); ++depth) {
    auto it = classes_.find(cls);
    if (it == classes_.end()) return nullptr;
    auto p = it->second.properties.find(property);
    if (p != it->second.properties.end()) return &p->second;
    cls = it->second.parent;
  }
  return nullptr;
}

bool ClassRegistry::InheritsFrom(const std::string& className, const std::string& ancestor) const {
  std::string cls = className;
  for (int depth = 0; depth < 32 && !cls.empty(); ++depth) {
    if (cls == ancestor) return true;
    auto it = classes_.find(cls);
    if (it == classes_.end()) return false;
    cls = it->second.parent;
  }
  return false;
}

// ---- parser ----

namespace {

// Objects nested deeper than this are refused (the form itself is the first level):
// the reader recurses once per level, and the programs' forms use three.
constexpr int kMaxNesting = 32;

struct Token {
  enum Kind { End, Name, Number, String, Symbol } kind = End;
  std::string text;
  long long number = 0;
  int line = 0;
};

class Lexer {
 public:
  Lexer(const std::string& text, const LoadContext& ctx) : s_(text), ctx_(ctx) {}

  Token Next() {
    SkipSpace();
    Token t;
    t.line = line_;
    if (pos_ >= s_.size()) return t;
    char c = s_[pos_];
    if (std::isalpha(uint8_t(c)) || c == '_') {
      size_t start = pos_;
      while (pos_ < s_.size() && (std::isalnum(uint8_t(s_[pos_])) || s_[pos_] == '_' || s_[pos_] == '.')) ++pos_;
      t.kind = Token::Name;
      t.text = s_.substr(start, pos_ - start);
      return t;
    }
    if (std::isdigit(uint8_t(c)) || c == '$' || (c == '-' && pos_ + 1 < s_.size() &&
                                                 (std::isdigit(uint8_t(s_[pos_ + 1])) || s_[pos_ + 1] == '$'))) {
      bool negative = c == '-';
      if (negative) ++pos_;
      bool hex = s_[pos_] == '$';
      if (hex) ++pos_;
      size_t start = pos_;
      while (pos_ < s_.size() && (hex ? std::isxdigit(uint8_t(s_[pos_])) : std::isdigit(uint8_t(s_[pos_])))) ++pos_;
      // Hexadecimal numbers are 32-bit patterns ($FFFFFFFF is -1); decimal ones fit 32 bits.
      size_t digits = pos_ - start;
      if (digits == 0 || digits > (hex ? 8u : 10u)) Fail("bad number");
      t.kind = Token::Number;
      unsigned long long value = std::stoull(s_.substr(start, digits), nullptr, hex ? 16 : 10);
      if (hex) t.number = int32_t(uint32_t(value));
      else if (value > (negative ? 2147483648ull : 2147483647ull)) Fail("number out of range");
      else t.number = (long long)value;
      if (negative) t.number = -t.number;
      return t;
    }
    if (c == '\'' || c == '#') {
      t.kind = Token::String;
      std::string utf8;
      // 'text', '' for a quote, #nnn for a character code, joined without spaces.
      while (pos_ < s_.size() && (s_[pos_] == '\'' || s_[pos_] == '#')) {
        if (s_[pos_] == '#') {
          ++pos_;
          size_t start = pos_;
          while (pos_ < s_.size() && std::isdigit(uint8_t(s_[pos_]))) ++pos_;
          if (start == pos_ || pos_ - start > 3) Fail("bad character code");
          int code = std::stoi(s_.substr(start, pos_ - start));
          if (code > 255) Fail("character code out of range");
          t.text += char(code);
          continue;
        }
        ++pos_;
        for (;;) {
          if (pos_ >= s_.size() || s_[pos_] == '\n') Fail("unterminated string");
          if (s_[pos_] == '\'') {
            if (pos_ + 1 < s_.size() && s_[pos_ + 1] == '\'') {
              utf8 += '\'';
              pos_ += 2;
              continue;
            }
            ++pos_;
            break;
          }
          utf8 += s_[pos_++];
        }
        t.text += Utf8ToCp1250(utf8);
        utf8.clear();
      }
      return t;
    }
    t.kind = Token::Symbol;
    t.text = std::string(1, c);
    ++pos_;
    return t;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    LoadContext c = ctx_;
    c.line = line_;
    c.Fail(what);
  }
  int line() const { return line_; }

 private:
  void SkipSpace() {
    while (pos_ < s_.size()) {
      char c = s_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '/') {
        while (pos_ < s_.size() && s_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }
  const std::string& s_;
  const LoadContext& ctx_;
  size_t pos_ = 0;
  int line_ = 1;
};

class Parser {
 public:
  Parser(const std::string& text, LoadContext& ctx) : lex_(text, ctx), ctx_(ctx) { Advance(); }

  void ReadRoot(TComponent* root, std::vector<TComponent*>& created) {
    Expect("object");
    std::string name = ExpectName();
    ExpectSymbol(":");
    int line = tok_.line;
    std::string cls = ExpectName();
    if (cls != root->ClassName() && !ClassRegistry::Instance().InheritsFrom(root->ClassName(), cls)) {
      ctx_.line = line;
      ctx_.Fail("the description is of class " + cls + ", the form is " + root->ClassName());
    }
    root->Name = name;
    ReadBody(root, root, cls, created, 1);
    if (tok_.kind != Token::End) Fail("text after the final end");
  }

 private:
  void ReadBody(TComponent* self, TComponent* root, const std::string& cls, std::vector<TComponent*>& created,
                int depth) {
    for (;;) {
      if (tok_.kind == Token::End) Fail("missing end");
      if (tok_.kind == Token::Name && tok_.text == "end") {
        Advance();
        return;
      }
      if (tok_.kind == Token::Name && tok_.text == "object") {
        ReadChild(self, root, created, depth + 1);
        continue;
      }
      if (tok_.kind != Token::Name) Fail("expected a property name");
      std::string prop = tok_.text;
      int line = tok_.line;
      Advance();
      ExpectSymbol("=");
      FormValue v = ReadValue();
      v.line = line;
      ctx_.line = line;
      const PropertySetter* setter = ClassRegistry::Instance().FindProperty(cls, prop);
      if (!setter) ctx_.Fail("unknown property " + prop + " of " + cls);
      try {
        (*setter)(self, v, ctx_);
      } catch (const EReadError&) {
        throw;
      } catch (const Exception& e) {
        ctx_.Fail(prop + ": " + e.Message);
      }
    }
  }

  void ReadChild(TComponent* container, TComponent* root, std::vector<TComponent*>& created, int depth) {
    if (depth > kMaxNesting) Fail("objects nested more than " + std::to_string(kMaxNesting) + " deep");
    Advance();  // object
    int line = tok_.line;
    std::string name = ExpectName();
    ExpectSymbol(":");
    std::string cls = ExpectName();
    ctx_.line = line;
    if (!ClassRegistry::Instance().Known(cls)) ctx_.Fail("unknown class " + cls);
    if (root->FindComponent(name)) ctx_.Fail("duplicate component name " + name);
    TComponent* c = ClassRegistry::Instance().Create(cls, root);
    if (!c) ctx_.Fail("class " + cls + " cannot be created");
    c->Name = name;
    c->SetState(csLoading, true);
    created.push_back(c);
    if (auto* control = dynamic_cast<TControl*>(c)) {
      auto* parent = dynamic_cast<TWinControl*>(container);
      if (!parent) ctx_.Fail("control " + name + " lies in " + container->Name + ", which holds no controls");
      control->SetParent(parent);
    }
    ReadBody(c, root, cls, created, depth);
  }

  FormValue ReadValue() {
    FormValue v;
    v.line = tok_.line;
    if (tok_.kind == Token::Number) {
      v.kind = FormValue::Integer;
      v.integer = tok_.number;
      Advance();
    } else if (tok_.kind == Token::String) {
      v.kind = FormValue::String;
      v.text = tok_.text;
      Advance();
      // 'a' + 'b' joins long strings across lines.
      while (tok_.kind == Token::Symbol && tok_.text == "+") {
        Advance();
        if (tok_.kind != Token::String) Fail("expected a string after +");
        v.text += tok_.text;
        Advance();
      }
    } else if (tok_.kind == Token::Name) {
      v.kind = FormValue::Identifier;
      v.text = tok_.text;
      Advance();
    } else if (tok_.kind == Token::Symbol && tok_.text == "[") {
      v.kind = FormValue::Set;
      Advance();
      while (!(tok_.kind == Token::Symbol && tok_.text == "]")) {
        if (tok_.kind != Token::Name) Fail("expected a set member");
        v.items.push_back(tok_.text);
        Advance();
        if (tok_.kind == Token::Symbol && tok_.text == ",") Advance();
        else if (!(tok_.kind == Token::Symbol && tok_.text == "]")) Fail("expected , or ]");
      }
      Advance();
    } else if (tok_.kind == Token::Symbol && tok_.text == "(") {
      v.kind = FormValue::List;
      Advance();
      while (!(tok_.kind == Token::Symbol && tok_.text == ")")) {
        if (tok_.kind != Token::String) Fail("expected a string in the list");
        v.items.push_back(tok_.text);
        Advance();
      }
      Advance();
    } else {
      Fail("expected a value");
    }
    return v;
  }

  void Advance() { tok_ = lex_.Next(); }
  void Expect(const char* word) {
    if (tok_.kind != Token::Name || tok_.text != word) Fail(std::string("expected ") + word);
    Advance();
  }
  void ExpectSymbol(const char* s) {
    if (tok_.kind != Token::Symbol || tok_.text != s) Fail(std::string("expected ") + s);
    Advance();
  }
  std::string ExpectName() {
    if (tok_.kind != Token::Name) Fail("expected a name");
    std::string n = tok_.text;
    Advance();
    return n;
  }
  [[noreturn]] void Fail(const std::string& what) {
    ctx_.line = tok_.line;
    ctx_.Fail(what);
  }

  Lexer lex_;
  LoadContext& ctx_;
  Token tok_;
};

}  // namespace

void LoadFormDescriptionText(TComponent* root, const std::string& text, const std::string& fileName,
                             const HandlerTable& handlers) {
  RegisterStandardClasses();
  LoadContext ctx;
  ctx.file = fileName;
  ctx.handlers = &handlers;
  ctx.root = root;
  std::vector<TComponent*> created;
  root->SetState(csLoading, true);
  Parser parser(text, ctx);
  parser.ReadRoot(root, created);
  for (TComponent* c : created) c->Loaded();
  root->Loaded();
}

void LoadFormDescription(TComponent* root, const std::string& resourceName, const HandlerTable& handlers) {
  const ResourceEntry* r = FindResource(resourceName);
  if (!r) throw EReadError("form description " + resourceName + " is not among the program's resources");
  LoadFormDescriptionText(root, std::string(reinterpret_cast<const char*>(r->data), r->size), resourceName, handlers);
}

}  // namespace tlb
