/* Entry point of the boot code.

 */
#include <linux/linkage.h>

        .text
        .globl  start
start:
        movl    $0x1000, %esp   /* stack top */
        call    main            // never returns
1:      hlt
        jmp     1b

        .section .rodata
msg:    .asciz  "boot /* ok */\n"
