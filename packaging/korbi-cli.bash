# bash completion for korbi-cli: commands, their options, and .Korbi files where a file is due.

_korbi_cli() {
    local cur prev words cword
    _init_completion -s || return

    local commands="show diff set read write change-code info journal restore ports report"
    local command="" i
    for ((i = 1; i < cword; i++)); do
        case "${words[i]}" in
            -*) ;;
            *) command="${words[i]}"; break ;;
        esac
    done

    case "$prev" in
        --port|--trace|--new-codes) _filedir; return ;;
        -o|--output) [[ "$command" == report ]] && _filedir pdf || _filedir Korbi; return ;;
    esac
    case "$cur" in
        --port=*|--trace=*|--new-codes=*) cur="${cur#*=}"; _filedir; return ;;
        --output=*) cur="${cur#--output=}"; _filedir Korbi; return ;;
    esac

    local lpx="--port= --simulate --simulate=1 --simulate=2 --trace="
    local options="--help --version"
    case "$command" in
        show|diff) options="--json" ;;
        read) options="$lpx -o --output= --json --journal=" ;;
        write) options="$lpx --new-code= --repeat --repeat= --new-codes= --verify --journal=" ;;
        change-code) options="$lpx --journal=" ;;
        info) options="$lpx" ;;
        journal) options="--device= --since= --json --csv --sync --journal=" ;;
        restore) options="-o --output= --journal=" ;;
        ports) options="" ;;
        report) options="-o --output= --device= --since= --until= --journal=" ;;
    esac

    if [[ "$cur" == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        [[ "${COMPREPLY[*]}" == *= ]] && compopt -o nospace
        return
    fi
    case "$command" in
        "") COMPREPLY=($(compgen -W "$commands" -- "$cur")) ;;
        show|diff|set|write) _filedir Korbi ;;
    esac
}
complete -F _korbi_cli korbi-cli
