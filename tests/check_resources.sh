# The Windows executable carries its icon (four sizes in one group, the
# one Explorer shows), its manifest and its version details.
# Called as: bash check_resources.sh WINDRES EXECUTABLE VERSION
set -u
resources=$("$1" -i "$2" -J coff -O rc) || { echo "cannot read the resources of $2"; exit 1; }
status=0
for expected in 'activeCodePage xmlns=""http://schemas.microsoft.com/SMI/2019/WindowsSettings"">UTF-8<' \
    'requestedExecutionLevel level=""asInvoker"" uiAccess=""false""' '>PerMonitorV2<' '>true/pm<' \
    'longPathAware xmlns=""http://schemas.microsoft.com/SMI/2016/WindowsSettings"">true<' \
    'name=""Microsoft.Windows.Common-Controls"" version=""6.0.0.0""' '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a' \
    '35138b9a-5d96-4fbd-8e2d-a2440225f93a' 'VERSIONINFO' "\"FileVersion\", \"$3\"" "\"ProductVersion\", \"$3\"" \
    '"ProductName", "gorv-patcher"' "\"OriginalFilename\", \"$(basename "$2")\""; do
    if ! grep -qF -- "$expected" <<<"$resources"; then
        echo "missing: $expected"
        status=1
    fi
done
icons=$(grep -c '/\* RT_ICON \*/' <<<"$resources")
groups=$(grep -c '/\* RT_GROUP_ICON \*/' <<<"$resources")
if [ "$icons" != 4 ] || [ "$groups" != 1 ]; then
    echo "icon: $icons images in $groups groups, expected 4 in 1"
    status=1
fi
exit "$status"
