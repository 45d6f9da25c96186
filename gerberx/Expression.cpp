#include "gerberx/Expression.h"

#include <cctype>
#include <cstdlib>

namespace gerberx {

namespace {
constexpr int kMaxDepth = 64;
constexpr int kMaxVariable = 100000;
}  // namespace

class ExpressionParser {
 public:
  ExpressionParser(const std::string& text, Expression& out) : text_(text), out_(out) {}

  int Sum(int depth) {
    int left = Product(depth);
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size() || (text_[pos_] != '+' && text_[pos_] != '-')) return left;
      const char op = text_[pos_++];
      const int right = Product(depth);
      left = Add({op, 0, 0, left, right});
    }
  }

  int Product(int depth) {
    int left = Unary(depth);
    for (;;) {
      SkipBlanks();
      if (pos_ >= text_.size()) return left;
      char op = text_[pos_];
      if (op == 'X') op = 'x';
      if (op != 'x' && op != '/') return left;
      ++pos_;
      const int right = Unary(depth);
      left = Add({op, 0, 0, left, right});
    }
  }

  int Unary(int depth) {
    if (depth > kMaxDepth) throw ExpressionError("expression nested too deeply");
    SkipBlanks();
    if (pos_ >= text_.size()) throw ExpressionError("expression ends where a value is due");
    const char c = text_[pos_];
    if (c == '+' || c == '-') {
      ++pos_;
      const int operand = Unary(depth + 1);
      return c == '-' ? Add({'~', 0, 0, operand, -1}) : operand;
    }
    if (c == '(') {
      ++pos_;
      const int inner = Sum(depth + 1);
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != ')') throw ExpressionError("'(' without its ')'");
      ++pos_;
      return inner;
    }
    if (c == '$') {
      ++pos_;
      std::size_t start = pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_;
      if (start == pos_ || pos_ - start > 6) throw ExpressionError("'$' not followed by a variable number");
      const int var = std::atoi(text_.substr(start, pos_ - start).c_str());
      if (var < 1 || var > kMaxVariable) throw ExpressionError("variable number out of range");
      return Add({'v', 0, var, -1, -1});
    }
    return Add({'n', Number(), 0, -1, -1});
  }

  double Number() {
    const std::size_t start = pos_;
    bool digits = false;
    while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_, digits = true;
    if (pos_ < text_.size() && text_[pos_] == '.') {
      ++pos_;
      while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) ++pos_, digits = true;
    }
    if (!digits) throw ExpressionError("'" + text_.substr(start, 10) + "' is not a number");
    return std::strtod(text_.substr(start, pos_ - start).c_str(), nullptr);
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
  }

  bool AtEnd() {
    SkipBlanks();
    return pos_ >= text_.size();
  }

 private:
  int Add(Expression::Node node) {
    out_.nodes_.push_back(node);
    return static_cast<int>(out_.nodes_.size()) - 1;
  }
  const std::string& text_;
  Expression& out_;
  std::size_t pos_ = 0;
};

Expression Expression::Parse(const std::string& text) {
  Expression e;
  ExpressionParser parser(text, e);
  e.root_ = parser.Sum(0);
  if (!parser.AtEnd()) throw ExpressionError("unexpected text after the expression '" + text + "'");
  return e;
}

double Expression::Evaluate(const Variables& vars) const { return Eval(root_, vars); }

double Expression::Eval(int node, const Variables& vars) const {
  const Node& n = nodes_[static_cast<std::size_t>(node)];
  switch (n.op) {
    case 'n':
      return n.value;
    case 'v': {
      auto it = vars.find(n.var);
      return it == vars.end() ? 0.0 : it->second;
    }
    case '~':
      return -Eval(n.left, vars);
    case '+':
      return Eval(n.left, vars) + Eval(n.right, vars);
    case '-':
      return Eval(n.left, vars) - Eval(n.right, vars);
    case 'x':
      return Eval(n.left, vars) * Eval(n.right, vars);
    default:
      return Eval(n.left, vars) / Eval(n.right, vars);
  }
}

}  // namespace gerberx
