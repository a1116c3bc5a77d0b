; Hotkeys of the desk.
#SingleInstance Force

/*
Win+N opens the editor,

Win+Q closes the window.
*/
#n::Run "notepad.exe"  ; editor
#q::WinClose "A"

MsgBox "Ready; press `"Win+N`""
Greet(name) {  ; shows a greeting
    MsgBox "Hello, " name
}
