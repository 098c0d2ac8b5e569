# bash completion for torvane-tool: commands, then each command's options, then files.
# Both lists are read from the installed program's own help, so they follow it.

_torvane_tool_commands() {
  "$1" --help 2>/dev/null | sed -n '/^commands:/,/^$/{/^  [a-z]/{s/^  \([a-z0-9-]*\).*/\1/;p}}'
}

_torvane_tool_options() {
  "$1" "$2" --help 2>/dev/null | grep -o -- '--[a-z][a-z0-9-]*' | sort -u
  printf '%s\n' --help --version
}

_torvane_tool() {
  local cur program=$1
  cur=${COMP_WORDS[COMP_CWORD]}
  if [ "$COMP_CWORD" -eq 1 ]; then
    mapfile -t COMPREPLY < <(compgen -W "$(_torvane_tool_commands "$program") --help --version" -- "$cur")
    return
  fi
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$(_torvane_tool_options "$program" "${COMP_WORDS[1]}")" -- "$cur")
    return
  fi
  mapfile -t COMPREPLY < <(compgen -f -- "$cur")
  compopt -o filenames 2>/dev/null
}

complete -F _torvane_tool torvane-tool
