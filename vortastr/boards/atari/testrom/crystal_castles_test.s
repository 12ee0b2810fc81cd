; Test program for the Crystal Castles board. It clears the bitmap, writes palette entries,
; draws four figures through the pixel registers (one per stepping mode), reads a pixel back,
; draws a line in the colour found at 0xA000 in each bank, then shows sprite 1 and moves it
; with the trackball once a frame, after the IRQ and the vertical blank.
        .setcpu "6502"
        .include "clear_pages.inc"

PIXX     = $0000        ; pixel X register
PIXY     = $0001        ; pixel Y register
PIXEL    = $0002        ; pixel at (X, Y); steps by the control bits
TRACKV   = $9500
TRACKH   = $9501
SWITCHES = $9600        ; bit 5: vertical blank; reading acknowledges the IRQ
OPTIONS  = $9A08
BANK     = $9E87        ; bit 0 = 1: first bank into 0xA000-0xDFFF
CONTROL  = $9F00        ; +0 hold X, +1 hold Y, +2 X down, +3 Y down, +7 sprite buffer
PALETTE  = $9F80
SPRITES  = $8F00        ; the buffer selected while control bit 7 is clear
BITMAP   = $0C00

frames   = $10          ; IRQs taken
pointer  = $12          ; zero-page pointer for the clear

; Results the tests read.
readBack    = $0300     ; the pixel read back from the first figure
bankOneByte = $0301     ; byte at 0xA000 with the first bank in
bankTwoByte = $0302     ; byte at 0xA000 with the second bank in
options     = $0303

        .segment "BANKDATA"
        .byte $30       ; colour 3, shown when the second bank is in (the program's own chip)

        .segment "CODE"
reset:  sei
        cld
        ldx #$FF
        txs
        lda #0
        sta frames
        ldx #7
@ctl:   sta CONTROL,x
        dex
        bpl @ctl

        ; Sprite buffers and bitmap to 0.
        ldx #0
@spr:   sta $8E00,x
        sta SPRITES,x
        inx
        bne @spr
        clear_pages pointer, >BITMAP, $80

        ; Palette: sixteen colour bytes.
        ldx #15
@pal:   lda palette,x
        sta PALETTE,x
        dex
        bpl @pal

        ; Both registers step up: a diagonal of colour 5.
        ldx #16
        ldy #40
        lda #$50
        jsr start
        ldy #8
        jsr line

        ; Y held: a row of colour 6.
        lda #1
        sta CONTROL+1
        ldx #16
        ldy #60
        lda #$60
        jsr start
        ldy #16
        jsr line

        ; X held: a column of colour 9.
        lda #1
        sta CONTROL
        lda #0
        sta CONTROL+1
        ldx #40
        ldy #40
        lda #$90
        jsr start
        ldy #16
        jsr line

        ; Both step down: a diagonal of colour 10 towards the top left.
        lda #0
        sta CONTROL
        lda #1
        sta CONTROL+2
        sta CONTROL+3
        ldx #80
        ldy #80
        lda #$A0
        jsr start
        ldy #8
        jsr line
        lda #0
        sta CONTROL+2
        sta CONTROL+3

        ; Read the first figure's first pixel back.
        ldx #16
        ldy #40
        jsr start
        lda PIXEL
        sta readBack

        ; Banks: a row in the colour found at 0xA000 in each.
        lda #1
        sta CONTROL+1
        sta BANK
        lda $A000
        sta bankOneByte
        ldx #16
        ldy #100
        jsr start
        ldy #16
        jsr line
        lda #0
        sta BANK
        lda $A000
        sta bankTwoByte
        ldx #16
        ldy #104
        jsr start
        ldy #16
        jsr line
        lda #0
        sta CONTROL+1

        lda OPTIONS
        sta options
        cli

; Once a frame: wait for the IRQ, then for the vertical blank, then place sprite 1 where the
; trackball counters say.
main:   lda frames
@irq:   cmp frames
        beq @irq
@vbl:   lda SWITCHES
        and #$20
        beq @vbl
        lda TRACKH
        clc
        adc #$40
        sta SPRITES+3
        lda TRACKV
        clc
        adc #$60
        sta SPRITES+1
        lda #1
        sta SPRITES
        lda #0
        sta CONTROL+7
        jmp main

; X and Y into the pixel registers; A is kept.
start:  stx PIXX
        sty PIXY
        rts

; A written Y times to the pixel port.
line:   sta PIXEL
        dey
        bne line
        rts

irq:    pha
        lda SWITCHES
        inc frames
        pla
nmi:    rti

palette:
        .byte $00, $C0, $38, $07, $FF, $3F, $C7, $F8, $07, $17, $5F, $FF, $C7, $F8, $C0, $07

        .segment "VECTORS"
        .word nmi, reset, irq
