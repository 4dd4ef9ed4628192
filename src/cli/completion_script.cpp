#include "cli/completion_script.hpp"

#include "cli/option_table.hpp"

namespace tarnwick {

namespace {

// Every way to write the option before a separate value: "--input|-i|/i".
std::string casePattern(const OptionRow& row) {
    std::string pattern = "--" + std::string(row.longName);
    if (row.shortName != 0) pattern += std::string("|-") + row.shortName;
    if (row.slashName != 0) pattern += std::string("|/") + row.slashName;
    return pattern;
}

// The patterns of the options with that arity, joined into one case label.
std::string patternsOf(OptionArity arity) {
    std::string patterns;
    for (const OptionRow& row : optionTable()) {
        if (row.arity != arity) continue;
        if (!patterns.empty()) patterns += '|';
        patterns += casePattern(row);
    }
    return patterns;
}

// The names offered for a word that starts with "-".
std::string optionWords() {
    std::string words;
    for (const OptionRow& row : optionTable()) {
        words += (words.empty() ? "--" : " --") + std::string(row.longName);
        if (row.shortName != 0) words += std::string(" -") + row.shortName;
    }
    return words;
}

// The case branches that complete an option's value.
std::string valueBranches() {
    std::string branches;
    for (const OptionRow& row : optionTable()) {
        if (row.completion == ValueCompletion::Nothing) continue;
        branches += "        " + casePattern(row) + ")\n            ";
        if (row.completion == ValueCompletion::File) {
            branches += "_tarnwick_files \"$2\" ;;\n";
        } else {
            branches +=
                "COMPREPLY=($(compgen -W '" + std::string(row.choices) + "' -- \"$2\")) ;;\n";
        }
    }
    return branches;
}

}  // namespace

std::string bashCompletionScript() {
    return "# bash completion for tarnwick, generated from its option table\n"
           "\n"
           "_tarnwick_files() {\n"
           "    compopt -o filenames 2>/dev/null\n"
           "    COMPREPLY=($(compgen -f -- \"$1\"))\n"
           "}\n"
           "\n"
           "# Completes the value $2 of option $1.\n"
           "_tarnwick_value() {\n"
           "    case $1 in\n" +
           valueBranches() +
           "    esac\n"
           "}\n"
           "\n"
           "_tarnwick_is_option() {\n"
           "    case $1 in\n"
           "        --*|" +
           patternsOf(OptionArity::None) + "|" + patternsOf(OptionArity::One) + "|" +
           patternsOf(OptionArity::Many) +
           ") return 0 ;;\n"
           "    esac\n"
           "    return 1\n"
           "}\n"
           "\n"
           "_tarnwick() {\n"
           "    # Bash splits \"--name=value\" at \"=\": join the pieces again.\n"
           "    local -a words=()\n"
           "    local i=0\n"
           "    while (( i <= COMP_CWORD )); do\n"
           "        if [[ ${COMP_WORDS[i]} == = && ${#words[@]} -gt 0 && ${words[-1]} == --* &&\n"
           "              ${words[-1]} != *=* ]]; then\n"
           "            words[-1]+==\n"
           "            if (( i < COMP_CWORD )); then\n"
           "                i=$((i + 1))\n"
           "                words[-1]+=${COMP_WORDS[i]}\n"
           "            fi\n"
           "        else\n"
           "            words+=(\"${COMP_WORDS[i]}\")\n"
           "        fi\n"
           "        i=$((i + 1))\n"
           "    done\n"
           "    local n=$((${#words[@]} - 1)) cur=${words[-1]} k=1 list=0\n"
           "    COMPREPLY=()\n"
           "    # Walk the options before the cursor; the first other word starts the engine's\n"
           "    # command line.\n"
           "    while (( k < n )); do\n"
           "        list=0\n"
           "        case ${words[k]} in\n"
           "            --)\n"
           "                k=$((k + 1))\n"
           "                break ;;\n"
           "            " +
           patternsOf(OptionArity::One) +
           ")\n"
           "                k=$((k + 2))\n"
           "                continue ;;\n"
           "            " +
           patternsOf(OptionArity::Many) +
           ")\n"
           "                k=$((k + 1))\n"
           "                list=1\n"
           "                while (( k < n )) && ! _tarnwick_is_option \"${words[k]}\"; do\n"
           "                    k=$((k + 1))\n"
           "                done\n"
           "                continue ;;\n"
           "            --*|" +
           patternsOf(OptionArity::None) +
           ")\n"
           "                k=$((k + 1))\n"
           "                continue ;;\n"
           "        esac\n"
           "        break\n"
           "    done\n"
           "    if (( k > n )); then\n"
           "        _tarnwick_value \"${words[n - 1]}\" \"$cur\"\n"
           "    elif (( k < n )); then\n"
           "        _tarnwick_files \"$cur\"\n"
           "    elif [[ ${words[k - 1]} != -- && $cur == --*=* ]]; then\n"
           "        _tarnwick_value \"${cur%%=*}\" \"${cur#*=}\"\n"
           "        # Unless bash split the word at \"=\", the replies replace all of it.\n"
           "        if [[ ${COMP_WORDS[COMP_CWORD]} == \"$cur\" ]]; then\n"
           "            COMPREPLY=(\"${COMPREPLY[@]/#/${cur%%=*}=}\")\n"
           "        fi\n"
           "    elif [[ ${words[k - 1]} != -- && $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W '" +
           optionWords() +
           "' -- \"$cur\"))\n"
           "    elif (( list )); then\n"
           "        _tarnwick_files \"$cur\"\n"
           "    elif [[ $cur == */* ]]; then\n"
           "        _tarnwick_files \"$cur\"\n"
           "    else\n"
           "        COMPREPLY=($(compgen -c -- \"$cur\"))\n"
           "    fi\n"
           "}\n"
           "\n"
           "complete -F _tarnwick tarnwick\n";
}

}  // namespace tarnwick
