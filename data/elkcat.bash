# Completion of elkcat's subcommands and their options (bash).

_elkcat() {
  local current=${COMP_WORDS[COMP_CWORD]}
  local previous=${COMP_WORDS[COMP_CWORD - 1]}
  local subcommands="dump stats export sample settings page get sidebar search filter paths site"
  if [ "$COMP_CWORD" -eq 1 ]; then
    COMPREPLY=($(compgen -W "$subcommands --help --version" -- "$current"))
    return
  fi
  local options=""
  case ${COMP_WORDS[1]} in
    dump) options="--help" ;;
    stats) options="--dir --help" ;;
    export) options="--format --fields --out --bom --help" ;;
    sample) options="--version --movies --seed --pictures --cover-size --jpeg-only --help" ;;
    settings) options="--dir --resave --help" ;;
    page) options="--dir --help" ;;
    get) options="--dir --out --help" ;;
    sidebar) options="--group --order --group-desc --order-desc --title-type --help" ;;
    search) options="--field --title-type --help" ;;
    filter) options="--json --help" ;;
    paths) options="--dir --help" ;;
    site) options="--dir --group --order --covers --help" ;;
  esac
  case $previous in
    --out)
      # export writes a file; get writes into a folder.
      if [ "${COMP_WORDS[1]}" = export ]; then
        COMPREPLY=($(compgen -f -- "$current"))
      else
        COMPREPLY=($(compgen -d -- "$current"))
      fi
      return
      ;;
    --dir)
      COMPREPLY=($(compgen -d -- "$current"))
      return
      ;;
    --format)
      COMPREPLY=($(compgen -W "csv json" -- "$current"))
      return
      ;;
    --fields)
      # The last name of the list so far.
      local fields="Number Media MediaType Source Date Borrower Rating OriginalTitle TranslatedTitle Director Producer"
      fields+=" Country Category Year Length Actors URL Description Comments VideoFormat VideoBitrate AudioFormat"
      fields+=" AudioBitrate Resolution Framerate Languages Subtitles Size Disks Checked PictureName"
      local done=${current%"${current##*,}"}
      COMPREPLY=($(compgen -P "$done" -W "$fields" -- "${current##*,}"))
      compopt -o nospace 2>/dev/null
      return
      ;;
    --pictures)
      COMPREPLY=($(compgen -W "embedded linked none mixed" -- "$current"))
      return
      ;;
    --version)
      if [ "${COMP_WORDS[1]}" = sample ]; then
        COMPREPLY=($(compgen -W "35 33 31" -- "$current"))
        return
      fi
      ;;
  esac
  if [[ $current == -* ]]; then
    COMPREPLY=($(compgen -W "$options" -- "$current"))
  else
    # Catalogs and other files.
    COMPREPLY=($(compgen -f -- "$current"))
  fi
}
complete -o filenames -F _elkcat elkcat
