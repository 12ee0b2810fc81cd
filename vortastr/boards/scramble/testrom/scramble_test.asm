; Test program of the Scramble board (Konami map): see scramble_test_body.asm.
WORKRAM:  equ 4000h
TILERAM:  equ 4800h
ATTRRAM:  equ 5000h
LATCH:    equ 6800h
WATCHDOG: equ 7000h
INPPI:    equ 8100h
SNDPPI:   equ 8200h
        include "scramble_test_body.asm"
