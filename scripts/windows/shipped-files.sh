# Sourced by the Windows scripts: the files packaging/windows/shipped-files lists.
#   shipped_files BIN     prints each path (relative to BIN, / between folders), patterns
#                         expanded against BIN; fails when a listed file is missing
shipped_files() {
    local bin=$1 line path found
    while read -r line; do
        [[ -z "$line" || "$line" == \#* ]] && continue
        found=0
        for path in "$bin"/$line; do
            [ -f "$path" ] || continue
            echo "${path#"$bin"/}"
            found=1
        done
        ((found)) || { echo "shipped-files: no $bin/$line" >&2; return 1; }
    done <"$(dirname "${BASH_SOURCE[0]}")/../../packaging/windows/shipped-files"
}
