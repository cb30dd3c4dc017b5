# The dialogue: prompts, re-prompts, the summary and every way the input
# can run out.
source "$(dirname "$0")/lib.sh"

new_case wide-screen
make_game gorv.exe
run_patcher $'2560\n1080\n\n'
expect_output "$asked$(patching gorv.exe)$(echo_pairs 40 17 B4 26)$(summary 16 6.75 2.37037)"

# Each answer that is not a plain number from 1 up to 4294967167 is asked
# again, and none of them is taken for a screen size.
new_case invalid-answers
make_game gorv.exe
nines=999999999999999999999999999999999999999999999999999999999999
run_patcher $'\n 1920\n1920 \n+1920\n-1920\n1920.0\n1920px\n0\n0000\n4294967296\n4294967295\n'"$nines"$'\n01024\n0\n768\n\n'
again_widths=
for _ in 1 2 3 4 5 6 7 8 9 10 11 12; do again_widths+=$again_width; done
expect_output "$title$ask_width$again_widths$ask_height$again_height$(patching gorv.exe)$(echo_pairs 3F AA AA AB)$(summary 12 9 1.33333)"

# A line of several megabytes (a pasted file, a stuck key) at each prompt
# is one answer that is not a size, however it starts.
new_case huge-lines
make_game gorv.exe
huge=$(head -c 5000000 /dev/zero | tr '\0' 7)
run_patcher "$huge"$'\n1920\n'"$huge"$'\n1080\n\n'
expect_output "$title$ask_width$again_width$ask_height$again_height$(patching gorv.exe)$echo_16_9$summary_16_9"

# The largest accepted size, and a last answer without its newline.
new_case largest-size
make_game gorv.exe
run_patcher $'4294967167\n4294967167'
expect_output "$asked$(patching gorv.exe)$(echo_pairs 3F 80 00 00)$(summary 9 9 1)"

# Input that ends before both sizes are known closes the run: nothing is
# backed up or written.
for input in '' $'1920\n' $'abc\n' $'1920\n0\n'; do
    new_case "end-of-input-$checks"
    make_game gorv.exe
    run_patcher "$input"
    case $input in
    '') expected=$ask_width ;;
    $'1920\n') expected=$ask_width$ask_height ;;
    $'abc\n') expected=$ask_width$again_width ;;
    *) expected=$ask_width$ask_height$again_height ;;
    esac
    expect_output "$title$expected$closing$press_enter"
    expect_files gorv.exe
    expect_same gorv.exe "$work/game.template"
done

finish
