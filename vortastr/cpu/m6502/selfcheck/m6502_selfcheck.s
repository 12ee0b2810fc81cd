; Self-checking program for the 6502 engine. Started at $0400 (also the reset vector), it
; runs a series of checks; a failed check jumps to itself where it stands, so the address it
; stops at names the check. When everything passes it loops at $F000.

        .setcpu "6502"

; page-zero work cells
ptr     = $10           ; pointer for (zp),Y
ptr2    = $12           ; pointer table for (zp,X) at $12/$14
tmp     = $20
count   = $21
brks    = $22
mulA    = $23
mulB    = $24
prodLo  = $25
prodHi  = $26
stack   = $0100

; Fails (stops here) unless A equals value and P equals flags; leaves P as it found it.
.macro  expect value, flags
        php
        cmp #value
        beq :+
        jmp *
:       pla
        cmp #(flags | $30)     ; PHP pushes B and the unused bit set
        beq :+
        jmp *
:       pha
        plp
.endmacro

; Fails unless the Z flag says equal.
.macro  must_equal
        beq :+
        jmp *
:
.endmacro

FN = $80
FV = $40
FD = $08
FI = $04
FZ = $02
FC = $01

        .segment "CODE"
start:
        ldx #$FF
        txs
        cld
        cli

; --- loads, transfers and flags ---------------------------------------------------------
        lda #$00
        expect $00, FZ
        lda #$80
        expect $80, FN
        ldx #$7F
        txa
        expect $7F, 0
        ldy #$FF
        tya
        expect $FF, FN
        sec
        lda #$01
        expect $01, FC
        clc
        sei
        lda #$02
        expect $02, FI
        cli

; --- binary arithmetic ------------------------------------------------------------------
        clc
        lda #$50
        adc #$50
        expect $A0, FN|FV
        sec
        lda #$50
        sbc #$B0
        expect $A0, FN|FV
        clc
        lda #$FF
        adc #$01
        expect $00, FZ|FC
        sec
        lda #$05
        sbc #$06
        expect $FF, FN

; --- decimal arithmetic -----------------------------------------------------------------
        sed
        clc
        lda #$19
        adc #$28
        expect $47, FD
        sec
        lda #$46
        sbc #$12
        expect $34, FD|FC
        clc
        lda #$99
        adc #$01
        expect $00, FN|FD|FC    ; NMOS: N from the unadjusted high digit, Z from binary
        clc
        lda #$00
        sbc #$00                ; borrow in: 00 - 00 - 1 = 99
        expect $99, FN|FD
        cld

; counting 0..99 in BCD one by one ends on 00 with carry, and never shows a non-BCD digit
        sed
        lda #$00
        sta tmp
        ldx #100
bcdloop:
        lda tmp
        and #$0F
        cmp #$0A
        bcc :+
        jmp *
:       lda tmp
        clc
        adc #$01
        sta tmp
        dex
        bne bcdloop
        cld
        lda tmp
        expect $00, FZ|FC       ; the carry out of 99 + 1

; --- loops and memory addressing --------------------------------------------------------
; sum 1..10 with DEX/BNE
        lda #0
        ldx #10
:       stx tmp
        clc
        adc tmp
        dex
        bne :-
        expect 55, FZ           ; Z from the final DEX

; copy 16 bytes with (zp),Y across a page boundary, then compare with abs,X
        lda #<(buffer+$F8)
        sta ptr
        lda #>(buffer+$F8)
        sta ptr+1
        ldy #0
:       lda text,y
        sta (ptr),y
        iny
        cpy #16
        bne :-
        ldx #15
compare:
        lda buffer+$F8,x
        cmp text,x
        must_equal
        dex
        bpl compare

; (zp,X) through a small pointer table
        lda #<text
        sta ptr2
        lda #>text
        sta ptr2+1
        lda #<(text+3)
        sta ptr2+2
        lda #>(text+3)
        sta ptr2+3
        ldx #2
        lda (ptr2,x)
        cmp text+3
        must_equal
        ldx #0
        lda (ptr2,x)
        cmp text
        must_equal

; zp,X wraps within page zero
        lda #$5C
        sta $05
        ldx #$10
        lda $F5,x
        cmp #$5C
        must_equal

; INC / DEC / BIT on memory
        lda #$FF
        sta tmp
        inc tmp
        must_equal
        dec tmp
        clc
        lda tmp
        expect $FF, FN
        lda #$C0
        sta tmp
        lda #$01
        bit tmp
        php
        pla
        and #(FN|FV|FZ)
        cmp #(FN|FV|FZ)
        must_equal

; --- shifts: 8x8 multiply by shift-and-add, 200 * 55 = 11000 = $2AF8 --------------------
        lda #200
        sta mulA
        lda #55
        sta mulB
        jsr multiply
        lda prodLo
        cmp #$F8
        must_equal
        lda prodHi
        cmp #$2A
        must_equal
        lda #$81
        lsr a
        expect $40, FC
        lda #$01
        sec
        ror a
        expect $80, FN|FC

; --- the stack --------------------------------------------------------------------------
        tsx
        stx tmp
        lda #$11
        pha
        lda #$22
        pha
        jsr nested
        pla
        cmp #$22
        must_equal
        pla
        cmp #$11
        must_equal
        tsx
        cpx tmp
        must_equal
        lda #(FN|FC)
        pha
        plp
        php
        pla
        cmp #(FN|FC|$30)
        must_equal

; --- BRK and RTI: the handler counts and checks the pushed B flag; RTI skips the padding byte
        lda #0
        sta brks
        brk
        .byte $02               ; padding: an opcode the engine stops on
        lda brks
        cmp #1
        must_equal

; --- JMP (ind): this engine reads the pointer as a plain word even at a page end -------
        jmp (pageEndPointer)

        .segment "DATA"
text:   .byte "0123456789ABCDEF"
        .res $FF - 16
pageEndPointer:                ; low byte at $20FF, high byte at $2100
        .byte <afterIndirect
        .byte >afterIndirect
        .assert <pageEndPointer = $FF, error, "pageEndPointer must end a page"
        .res $FF
buffer: .res $200

        .segment "CODE"
afterIndirect:
        jmp pass

; prodHi:prodLo = mulA * mulB
multiply:
        lda #0
        sta prodHi
        ldx #8
:       asl a
        rol prodHi
        asl mulB
        bcc :+
        clc
        adc mulA
        bcc :+
        inc prodHi
:       dex
        bne :--
        sta prodLo
        rts

nested:
        jsr leaf
        rts
leaf:
        tsx
        lda stack+1,x           ; return address low byte of the JSR in nested
        rts

brkHandler:
        pha
        tsx
        lda stack+2,x           ; P pushed by BRK, under our A
        and #$10
        bne :+
        jmp *
:       inc brks
        pla
        rti

nmiHandler:
        jmp *

        .segment "PASS"
pass:   jmp pass

        .segment "VECTORS"
        .word nmiHandler
        .word start
        .word brkHandler
