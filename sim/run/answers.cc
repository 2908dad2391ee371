#include "sim/run/answers.h"

#include <algorithm>

#include "platform/text.h"
#include "sim/profile/ini_document.h"

namespace kx::sim {
namespace {

bool Fail(std::string* error, const std::string& fileName, int line, const std::string& message) {
  *error = fileName + ":" + std::to_string(line) + ": " + message;
  return false;
}

bool Offers(const Question& question, int button) {
  return std::find(question.buttons.begin(), question.buttons.end(), button) !=
         question.buttons.end();
}

// "line 12: what" from the INI parser becomes "file:12: what".
std::string WithFileName(const std::string& fileName, const std::string& parserError) {
  constexpr std::string_view kPrefix = "line ";
  if (StartsWith(parserError, kPrefix)) {
    const std::size_t colon = parserError.find(':');
    if (colon != std::string::npos) {
      return fileName + ":" + parserError.substr(kPrefix.size(), colon - kPrefix.size()) +
             parserError.substr(colon);
    }
  }
  return fileName + ": " + parserError;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view text) {
  // Iterative matching with one back-tracking point: linear in practice and
  // never recursive, whatever the pattern.
  std::size_t p = 0, t = 0;
  std::size_t starP = std::string_view::npos, starT = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starT = t;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      t = ++starT;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

const AnswerRule* Answers::Answer(const Question& question) {
  used_.resize(rules_.size(), 0);
  for (std::size_t i = 0; i < rules_.size(); ++i) {
    const AnswerRule& rule = rules_[i];
    if (rule.times > 0 && used_[i] >= rule.times) continue;
    if (!rule.caption.empty() && !WildcardMatch(rule.caption, question.caption)) continue;
    if (!rule.text.empty() && !WildcardMatch(rule.text, question.text)) continue;
    if (!Offers(question, rule.answer)) continue;
    ++used_[i];
    return &rule;
  }
  return nullptr;
}

bool ParseAnswers(std::string_view text, const std::string& fileName, Answers* answers,
                  std::string* error) {
  profile::IniDocument document;
  std::string parserError;
  if (!profile::ParseIniDocument(text, &document, &parserError)) {
    *error = WithFileName(fileName, parserError);
    return false;
  }
  Answers parsed;
  parsed.fileName = fileName;
  for (const profile::IniSection& section : document.sections) {
    const std::string_view name = section.name;
    const bool isMessage =
        EqualsIgnoreCase(name.substr(0, 7), "message") && (name.size() == 7 || name[7] == ' ');
    if (!isMessage) {
      return Fail(error, fileName, section.line,
                  "unknown section [" + section.name + "] (answers are [message ...] sections)");
    }
    AnswerRule rule;
    rule.line = section.line;
    bool seen[4] = {};
    for (const profile::IniEntry& entry : section.entries) {
      int which = -1;
      if (EqualsIgnoreCase(entry.key, "caption")) {
        which = 0;
        rule.caption = entry.value;
      } else if (EqualsIgnoreCase(entry.key, "text")) {
        which = 1;
        rule.text = entry.value;
      } else if (EqualsIgnoreCase(entry.key, "answer")) {
        which = 2;
        rule.answer = ButtonFromName(entry.value);
        if (rule.answer == 0) {
          return Fail(error, fileName, entry.line,
                      "unknown button '" + entry.value +
                          "' (OK, Cancel, Abort, Retry, Ignore, Yes, No, Try Again, Continue)");
        }
      } else if (EqualsIgnoreCase(entry.key, "times")) {
        which = 3;
        const std::string& v = entry.value;
        if (v.empty() || v.size() > 6 || v.find_first_not_of("0123456789") != std::string::npos ||
            std::stoi(v) == 0) {
          return Fail(error, fileName, entry.line,
                      "times must be a whole number from 1 to 999999, not '" + v + "'");
        }
        rule.times = std::stoi(v);
      } else {
        return Fail(error, fileName, entry.line,
                    "unknown key '" + entry.key + "' (caption, text, answer, times)");
      }
      if (seen[which]) {
        return Fail(error, fileName, entry.line, "'" + entry.key + "' given twice in one rule");
      }
      seen[which] = true;
    }
    if (!seen[2]) {
      return Fail(error, fileName, section.line, "the rule has no 'answer'");
    }
    parsed.Add(std::move(rule));
  }
  *answers = std::move(parsed);
  return true;
}

}  // namespace kx::sim
