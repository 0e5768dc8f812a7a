# bash completion for designhost: its commands and options, the components of the form given,
# the properties of the selection (for edit, those with a dialog) and, for set, the values of
# the property's drop-down list.
# Commands, options and argument names are read from designhost's own help, so every command
# it has completes here.

# The options of a help text's "Options:" section, one a line: "NAME [ARG]".
_designhost_options() {
  local line left section=
  while IFS= read -r line; do
    case $line in
      Options:) section=options ;;
      '') section= ;;
      '   '*) ;;
      '  '-*)
        [ "$section" = options ] || continue
        left=${line#  }
        left=${left%%  *}
        left=${left//, / }
        printf '%s\n' "$left"
        ;;
    esac
  done
}

# The words of a help text's section (Commands: or Arguments:), one a line: the first word of
# each entry.
_designhost_section() {
  local line word in=
  while IFS= read -r line; do
    if [ "$line" = "$1" ]; then
      in=1
    elif [ -z "$line" ]; then
      in=
    elif [ -n "$in" ] && [[ $line == '  '[^\ ]* ]]; then
      word=${line#  }
      printf '%s\n' "${word%% *}"
    fi
  done
}

# Offers the words of $2 (one a line) that start with $1.
_designhost_offer() {
  local word
  while IFS= read -r word; do
    [[ -n $word && $word == "$1"* ]] && COMPREPLY+=("$word")
  done <<<"$2"
}

_designhost_files() {  # $1: what to type; $2: a glob the files must match, or empty for any
  compopt -o filenames 2>/dev/null
  local IFS=$'\n'
  if [ -n "$2" ]; then
    COMPREPLY+=($(compgen -d -- "$1") $(compgen -f -X "!$2" -- "$1"))
  else
    COMPREPLY+=($(compgen -f -- "$1"))
  fi
}

_designhost() {
  local program=${COMP_WORDS[0]} cur=${COMP_WORDS[COMP_CWORD]}
  local -a global=()
  local command= i=1 word
  COMPREPLY=()

  # The command is the first word that is no option of the program (nor such an option's value).
  while [ "$i" -lt "$COMP_CWORD" ]; do
    word=${COMP_WORDS[i]}
    case $word in
      --package) global+=(--package "${COMP_WORDS[i + 1]}"); i=$((i + 1)) ;;
      -*) ;;
      *) command=$word; break ;;
    esac
    i=$((i + 1))
  done

  local help options
  if [ -n "$command" ]; then
    help=$("$program" help "$command" 2>/dev/null) || return
  else
    help=$("$program" --help 2>/dev/null) || return
  fi
  options=$(_designhost_options <<<"$help")

  # The value of an option that takes one: complete by the name of its argument.
  local prev=${COMP_WORDS[COMP_CWORD - 1]} kind=
  if [ "$COMP_CWORD" -gt 1 ]; then
    kind=$(while read -r -a fields; do
      for word in "${fields[@]}"; do [ "$word" = "$prev" ] && printf '%s' "${fields[-1]}"; done
    done <<<"$options")
    [ "$kind" = "$prev" ] && kind=
    [ "$prev" = --package ] && kind=FILE
  fi

  if [ -z "$kind" ]; then
    if [[ $cur == -* ]]; then
      _designhost_offer "$cur" "$(tr ' ' '\n' <<<"$options" | grep '^-')"
      [ -n "$command" ] && _designhost_offer "$cur" "--package"
      return
    fi
    if [ -z "$command" ]; then
      _designhost_offer "$cur" "$(_designhost_section Commands: <<<"$help")"
      return
    fi
    # The arguments given so far, past options and their values, name the one being typed.
    local -a arguments=()
    local taken
    for ((i = i + 1; i < COMP_CWORD; i++)); do
      word=${COMP_WORDS[i]}
      if [[ $word == -* ]]; then
        taken=$(grep -E "^$word [A-Z]" <<<"$options")
        [ -n "$taken" ] && i=$((i + 1))
        [ "$word" = --package ] && global+=(--package "${COMP_WORDS[i]}")
        continue
      fi
      arguments+=("$word")
    done
    local -a names
    mapfile -t names < <(_designhost_section Arguments: <<<"$help")
    local n=${#arguments[@]}
    [ "$n" -ge "${#names[@]}" ] && [[ ${names[-1]} == *... ]] && n=$((${#names[@]} - 1))
    kind=${names[n]}
  fi

  local form=${arguments[0]}
  case $kind in
    COMMAND)
      _designhost_offer "$cur" "$("$program" --help 2>/dev/null | _designhost_section Commands:)"
      ;;
    FORM | PATH | PATH...) _designhost_files "$cur" '*.xfm' ;;
    DIR) compopt -o filenames 2>/dev/null; local IFS=$'\n'; COMPREPLY+=($(compgen -d -- "$cur")) ;;
    FILE) _designhost_files "$cur" '' ;;
    SEL | SEL.PROP)
      [ -r "$form" ] || return
      local components
      components=$(awk '$1 == "object" || $1 == "inherited" || $1 == "inline" { sub(/:$/, "", $2); print $2 }' "$form")
      if [ "$kind" = SEL.PROP ] && [[ $cur == *.* ]]; then
        local selection=${cur%%.*} rows
        rows=$("$program" "${global[@]}" properties "$form" "$selection" 2>/dev/null)
        # edit presses the property's ellipsis button: only a property with a dialog has one.
        [ "$command" = edit ] && rows=$(awk -F '\t' '$4 ~ /(^|,)paDialog(,|$)/' <<<"$rows")
        _designhost_offer "$cur" "$(cut -f1 <<<"$rows" | sed "s/^/$selection./")"
        return
      fi
      # A selection is a list: complete the component after the last comma, and offer none
      # that the list already names.
      local before= last=$cur
      [[ $cur == *,* ]] && before=${cur%,*}, last=${cur##*,}
      components=$(while IFS= read -r word; do
        [[ ",$before" == *",$word,"* ]] || printf '%s\n' "$word"
      done <<<"$components")
      local suffix=
      if [ "$kind" = SEL.PROP ]; then
        suffix=.
        compopt -o nospace 2>/dev/null
      fi
      _designhost_offer "$before$last" "$(sed "s/^/$before/; s/\$/$suffix/" <<<"$components")"
      ;;
    VALUE)
      # The live drop-down list of the property, as the inspector would offer it.
      local value
      while IFS= read -r value; do
        [[ $value == "$cur"* ]] && COMPREPLY+=("$(printf '%q' "$value")")
      done < <("$program" "${global[@]}" values "$form" "${arguments[1]}" 2>/dev/null)
      ;;
  esac
}

complete -F _designhost designhost
