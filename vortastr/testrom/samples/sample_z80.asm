; Z80 sample of the test ROM kit: writes the squares of 0..15 to 8000h..800Fh, then stops
; on itself at 0003h.
        org 0
        jp start
done:   jr done

start:  ld sp, 0f000h
        ld hl, 8000h
        ld b, 0
next:   ld a, b
        call square
        ld (hl), a
        inc hl
        inc b
        ld a, b
        cp 16
        jr nz, next
        jp done

; A = A * A (low byte), by adding A to itself A times. Uses C and D.
square: or a
        ret z
        ld c, a
        ld d, a
        xor a
addloop: add a, c
        dec d
        jr nz, addloop
        ret
