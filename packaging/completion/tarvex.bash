# Completion of the tarvex command for bash.
_tarvex()
{
    local current=${COMP_WORDS[COMP_CWORD]}
    local previous=${COMP_WORDS[COMP_CWORD - 1]}
    if [ "$COMP_CWORD" -eq 1 ]; then
        mapfile -t COMPREPLY < <(compgen -W "encrypt decrypt repair --help --version" -- "$current")
        return
    fi
    case $previous in
    -o | --output)
        mapfile -t COMPREPLY < <(compgen -f -- "$current")
        return
        ;;
    -l | --list | --key-file)
        mapfile -t COMPREPLY < <(compgen -f -- "$current")
        return
        ;;
    -j | --jobs | --key-fd)
        return
        ;;
    esac
    local options
    case ${COMP_WORDS[1]} in
    encrypt | decrypt)
        options="-b --blowfish-only -r --recursive -o --output -l --list -j --jobs -y --yes -q --quiet
                 --progress --key-fd --key-file --help"
        ;;
    repair)
        options="--finish -b --blowfish-only --key-fd --key-file --help"
        ;;
    *)
        return
        ;;
    esac
    if [[ $current == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$current")
    elif [ "${COMP_WORDS[1]}" = repair ]; then
        mapfile -t COMPREPLY < <(compgen -G "${current}*.adt")
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$current")
    fi
} &&
    complete -o filenames -F _tarvex tarvex
