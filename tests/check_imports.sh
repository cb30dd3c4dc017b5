# The Windows executable must run on a bare Windows: it may import only
# DLLs that every Windows has, not the MinGW runtime's.
# Called as: bash check_imports.sh OBJDUMP EXECUTABLE
set -u
objdump=$1
executable=$2

imports=$("$objdump" -p "$executable" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || { echo "no imports found in $executable"; exit 1; }
echo "imports: $(echo $imports)"

status=0
for dll in $imports; do
    case $dll in
    kernel32.dll | msvcrt.dll | comdlg32.dll | user32.dll | advapi32.dll | shell32.dll | api-ms-win-*) ;;
    *)
        echo "not a Windows DLL: $dll"
        status=1
        ;;
    esac
done
exit "$status"
