; Test program of the Tazmania and SuperBond board (everything from 8000h up): see
; scramble_test_body.asm.
WORKRAM:  equ 8000h
TILERAM:  equ 8800h
ATTRRAM:  equ 9000h
LATCH:    equ 0A800h
WATCHDOG: equ 0B000h
INPPI:    equ 9800h
SNDPPI:   equ 0A000h
        include "scramble_test_body.asm"
