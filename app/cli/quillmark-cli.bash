# bash completion for quillmark-cli                                        -*- shell-script -*-
# Option names; after --type the symbology names that `quillmark-cli --list-types` prints, the
# formats after --format, the bearer bars after --bearer, file names after --output and
# --data-file, directories after --dir and tab after --delimiter.

_quillmark_cli()
{
    local cur prev words cword
    _init_completion || return

    case $prev in
        --type)
            # The names hold spaces: readline quotes them the way it quotes file names, with
            # backslashes or inside the quote already typed, so the replies stay unquoted and
            # the typed word is compared without its quoting.
            local typed=${cur#[\"\']} name
            typed=${typed//\\/}
            while IFS= read -r name; do
                [[ $name == "$typed"* ]] && COMPREPLY+=("$name")
            done < <("$1" --list-types 2> /dev/null)
            compopt -o filenames
            return
            ;;
        --output | --data-file)
            _filedir
            return
            ;;
        --delimiter)
            COMPREPLY=($(compgen -W "tab" -- "$cur"))
            return
            ;;
        --dir)
            _filedir -d
            return
            ;;
        --format)
            COMPREPLY=($(compgen -W "bmp png svg jpg pdf eps" -- "$cur"))
            return
            ;;
        --bearer)
            COMPREPLY=($(compgen -W "frame bars none" -- "$cur"))
            return
            ;;
        --data | --scale | --dpi | --from | --to | --x-dim | --height | --ratio | --reduction | \
            --column | --name)
            return
            ;;
    esac

    local options=(--type --data --no-text --single --no-checksum --output --format --scale --dpi
        --symbol --x-dim --height --ratio --reduction --bearer --pattern --from --to --dir
        --data-file --column --header --delimiter --name --list-types --help --version)
    COMPREPLY=($(compgen -W "${options[*]}" -- "$cur"))
} &&
    complete -F _quillmark_cli quillmark-cli
