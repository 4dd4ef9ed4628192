#include "testengine/script.hpp"

#include <algorithm>
#include <cstdlib>
#include <map>

#include "text/text.hpp"

namespace tarnwick::testengine {
namespace {

const std::map<std::string_view, ActionKind>& actionNames() {
    static const std::map<std::string_view, ActionKind> names = {
        {"print", ActionKind::print},        {"printraw", ActionKind::printRaw},
        {"sleep", ActionKind::sleep},        {"flood", ActionKind::flood},
        {"stderr", ActionKind::stderrText},  {"exit", ActionKind::exit},
        {"crash", ActionKind::crash},        {"close-stdout", ActionKind::closeStdout},
        {"ignore", ActionKind::ignore},      {"waitfor", ActionKind::waitFor},
        {"print-cwd", ActionKind::printCwd}, {"print-fds", ActionKind::printFds},
        {"print-pid", ActionKind::printPid}, {"print-args", ActionKind::printArgs},
        {"trap-term", ActionKind::trapTerm}, {"endless", ActionKind::endless},
        {"deaf", ActionKind::deaf},
    };
    return names;
}

// The actions of a rule, split at ";" but not at "\;" (which becomes ";").
std::vector<std::string> splitActions(std::string_view text) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == ';') {
            parts.back() += ';';
            ++i;
        } else if (text[i] == ';') {
            parts.emplace_back();
        } else {
            parts.back() += text[i];
        }
    }
    return parts;
}

bool isWholeNumber(std::string_view text) {
    return isNumber(text, 10) ||
           (text.size() > 1 && text[0] == '-' && isNumber(text.substr(1), 10));
}

// Reads one action; an error text when it cannot.
std::string parseAction(std::string_view text, Action& action) {
    const std::string_view keyword = nthTokenView(text, 1);
    const auto found = actionNames().find(keyword);
    if (found == actionNames().end()) return "unknown action '" + std::string(keyword) + "'";
    action.kind = found->second;
    std::string_view rest = text.substr(text.find(keyword) + keyword.size());
    if (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
    switch (action.kind) {
        case ActionKind::sleep:
        case ActionKind::exit:
            if (!isWholeNumber(trimmedView(rest)))
                return "a number must follow " + std::string(keyword);
            action.number = std::atoll(std::string(trimmedView(rest)).c_str());
            return {};
        case ActionKind::flood:
        case ActionKind::endless: {
            const std::string_view count = nthTokenView(rest, 1);
            if (!isNumber(count, 10)) return std::string(keyword) + " needs a count";
            action.number = std::atoll(std::string(count).c_str());
            rest = rest.substr(rest.find(count) + count.size());
            if (!rest.empty() && isBlank(rest.front())) rest.remove_prefix(1);
            action.text = rest;
            if (action.kind == ActionKind::endless && action.text.empty())
                return "endless needs a text to repeat";
            return {};
        }
        case ActionKind::printRaw:
            action.text = unescape(rest);
            return {};
        case ActionKind::waitFor:
            action.text = nthToken(rest, 1);
            return action.text.empty() ? "waitfor needs a word" : "";
        default:
            action.text = rest;
            return {};
    }
}

// Reads "on <word>[#n]: actions" into rule; an error text when it cannot.
std::string parseRule(std::string_view line, Rule& rule) {
    if (nthTokenView(line, 1) != "on") return "a rule starts with 'on'";
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return "':' missing";
    std::string_view trigger = trimmedView(line.substr(2, colon - 2));
    if (const size_t hash = trigger.find('#'); hash != std::string_view::npos) {
        rule.occurrence = static_cast<int>(atoiValue(trigger.substr(hash + 1)));
        if (rule.occurrence < 1) return "the occurrence after '#' counts from 1";
        trigger = trigger.substr(0, hash);
    }
    if (trigger.empty() || trigger.find_first_of(kBlanks) != std::string_view::npos) {
        return "one word must follow 'on'";
    }
    rule.trigger = trigger;
    for (const std::string& part : splitActions(line.substr(colon + 1))) {
        if (trimmedView(part).empty()) continue;
        Action action;
        if (std::string error = parseAction(trimmedView(part), action); !error.empty())
            return error;
        rule.actions.push_back(std::move(action));
    }
    return {};
}

}  // namespace

const Rule* Script::find(std::string_view trigger, int occurrence) const {
    const Rule* general = nullptr;
    for (const Rule& rule : rules) {
        if (rule.trigger != trigger) continue;
        if (rule.occurrence == occurrence) return &rule;
        if (rule.occurrence == 0 && general == nullptr) general = &rule;
    }
    return general;
}

ParsedScript parseScript(std::string_view text) {
    ParsedScript parsed;
    int lineNumber = 0;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        const std::string_view line = trimmedView(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        Rule rule;
        if (std::string error = parseRule(line, rule); !error.empty()) {
            parsed.error = "script line " + std::to_string(lineNumber) + ": " + error;
            return parsed;
        }
        parsed.script.rules.push_back(std::move(rule));
    }
    return parsed;
}

std::string unescape(std::string_view text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        switch (text[++i]) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case '0':
                out += '\0';
                break;
            default:
                out += text[i];
                break;
        }
    }
    return out;
}

}  // namespace tarnwick::testengine
