; boot.asm -- prints a message and halts.
        org 0x7c00

start:  mov si, msg         ; message address
        call print
        db "; not a comment", 0
        mov al, ';'
        hlt
        ; indented comment

msg:    db 'Hello', 0
