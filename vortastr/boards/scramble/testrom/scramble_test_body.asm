; Test program of the Scramble-type boards, for either map (the including file sets the
; addresses). It fills the tile map (every cell's code is the low byte of its offset), gives
; each column the scroll byte and colour group of the table at 0200h, puts the shots of the
; table at 0240h into the shot RAM, and moves sprite 0 (code, colour, start x and y at 0260h)
; one pixel a frame with the stick. The NMI handler acknowledges the interrupt by taking the
; NMI enable latch low and high again, resets the watchdog and reads the three input ports;
; fire sends a sound command to the sound 8255. The tables sit at fixed addresses so that a
; test can read them back from the ROM files.

SPRITES:  equ ATTRRAM + 40h
SHOTS:    equ ATTRRAM + 60h
NMIEN:    equ LATCH + 1
STACK:    equ WORKRAM + 800h
SPRX:     equ WORKRAM          ; sprite 0: x and y kept in work RAM
SPRY:     equ WORKRAM + 1
LASTIN1:  equ WORKRAM + 2      ; the starts and dip bank A as last read
FRAMES:   equ WORKRAM + 3
FIRESOUND: equ 21h

        org 0
        xor a
        ld (NMIEN), a          ; no NMI while the picture is set up
        ld sp, STACK
        jp start

        ds 66h - $         ; z80asm does not pad for org: fill up to the NMI entry
nmi:    push af
        push bc
        push hl
        xor a
        ld (NMIEN), a          ; acknowledge: the latch low, then high again below
        ld a, (WATCHDOG)
        ld hl, FRAMES
        inc (hl)
        call update
        ld a, 1
        ld (NMIEN), a
        pop hl
        pop bc
        pop af
        retn

start:  ld a, 9Bh              ; input 8255: mode 0, ports A, B and C in
        ld (INPPI + 3), a
        ld a, 80h              ; sound 8255: mode 0, all ports out
        ld (SNDPPI + 3), a
        ld hl, TILERAM
        ld bc, 400h
fill:   ld (hl), l
        inc hl
        dec bc
        ld a, b
        or c
        jr nz, fill
        ld hl, attributes
        ld de, ATTRRAM
        ld bc, 64
        ldir
        ld hl, shots
        ld de, SHOTS
        ld bc, 32
        ldir
        ld a, (sprite)
        ld (SPRITES + 1), a
        ld a, (sprite + 1)
        ld (SPRITES + 2), a
        ld a, (sprite + 2)
        ld (SPRX), a
        ld a, (sprite + 3)
        ld (SPRY), a
        call place
        ld a, 1
        ld (NMIEN), a
idle:   ld a, (WATCHDOG)
        jr idle

; Once a frame: left and right (IN0 bits 5 and 4) and up (IN0 bit 0) and down (IN2 bit 6)
; move sprite 0 by a pixel; fire (IN0 bit 3) writes a sound command.
update: ld a, (INPPI + 1)
        ld (LASTIN1), a
        ld a, (INPPI)
        ld b, a
        ld hl, SPRX
        bit 5, b
        jr nz, noleft
        dec (hl)
noleft: bit 4, b
        jr nz, noright
        inc (hl)
noright: ld hl, SPRY
        bit 0, b
        jr nz, noup
        dec (hl)
noup:   ld a, (INPPI + 2)
        bit 6, a
        jr nz, nodown
        inc (hl)
nodown: bit 3, b
        jr nz, place
        ld a, FIRESOUND
        ld (SNDPPI), a
place:  ld a, (SPRX)
        ld (SPRITES), a
        ld a, (SPRY)
        ld (SPRITES + 3), a
        ret

        ds 200h - $
; Per column: scroll byte, colour group. Column 1 scrolls by 1, column 2 is unshifted (255).
attributes:
        db 0, 0,   1, 1,   255, 2,  8, 3,   16, 4,  100, 5,  254, 6,  3, 7
        db 40, 0,  41, 1,  42, 2,   43, 3,  255, 4, 1, 5,    2, 6,    200, 7
        db 0, 1,   7, 2,   77, 3,   128, 4, 129, 5, 130, 6,  5, 7,    9, 0
        db 11, 1,  13, 2,  17, 3,   19, 4,  23, 5,  29, 6,   31, 7,   255, 0

        ds 240h - $
; Shots: (-, column, -, y). The third is at y = 250 (row -2) and the fourth has column 0:
; neither is drawn; the second runs past the right edge.
shots:  db 0, 40, 0, 100
        db 0, 253, 0, 60
        db 0, 80, 0, 250
        db 0, 0, 0, 50
        db 0, 120, 0, 200
        db 0, 200, 0, 248
        db 0, 0, 0, 0
        db 0, 0, 0, 0

        ds 260h - $
; Sprite 0: code, colour group, start x, start y.
sprite: db 40, 3, 100, 120
