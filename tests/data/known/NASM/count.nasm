; Counts the line feeds in a buffer (System V ABI).
        global  count_lf
        section .text

; rdi = buffer, rsi = length; returns the count in rax
count_lf:
        xor     eax, eax        ; count = 0
        test    rsi, rsi
        jz      .done
.loop:
        cmp     byte [rdi], 10
        jne     .next
        inc     rax
.next:
        inc     rdi
        dec     rsi
        jnz     .loop
.done:
        ret

        section .rodata
msg:    db      "count; not a comment", 10, 0
sep:    db      ';', 0
