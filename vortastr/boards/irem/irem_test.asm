; Test program of the Irem V30 boards (RType; with -DRTYPE2 the RType II board).
;
; It is a program for the real board: the interrupt vectors are a table in ROM at address 0,
; the interrupt controller (an 8259-compatible part at ports 0x40 and 0x42) is set up once
; with automatic end of interrupt, so the handlers need no acknowledge, and every register is
; written through the board's ports and memory. Work RAM is 0x40000-0x43FFF on RType; on RType II
; it is 0xE0000-0xE3FFF (the family's notes list no work RAM for that board; its high-score table
; and saved-state regions lie there).
;
; What it shows:
;   - both palettes (tile bank: red 2p+1, green 2g, blue 31-p for colour 16g+p; sprite bank:
;     red 31-p, green 2p, blue 2g+1), written once;
;   - both layers filled with a pattern of tiles with flips and colour groups;
;   - the layers scrolled through ports 0x80-0x87 every frame, the second one so that its copy
;     splits on both axes;
;   - a sprite two parts high and two wide, flipped both ways, moved with the joystick
;     (2 pixels a frame), a second one unflipped, and two entries that must not be drawn;
;   - a sound command on port 0 when the first button is pressed;
;   - a high-score table, its defaults written first thing at start-up as the game does, and a
;     new entry put in at its rank when the first start key goes down.
; RType II also asks for the raster interrupt (0xF7 at 0xB0000, every frame) and gives its second
; layer a different scroll for the lower half of the screen there.

cpu 186
bits 16
org 0

%define SPRITE_SEG      0xC000
%define SPRITE_PAL_SEG  0xC800
%define FIRST_LAYER_SEG 0xD000
%ifdef RTYPE2
%define WORK_SEG         0xE000
%define SECOND_LAYER_SEG 0xD400
%define TILE_PAL_SEG     0xD800
%define ROM_SIZE         0x80000
%define SECOND_TILE_BASE 0x4001     ; tiles 16385 on: the third tile image
%define SPRITE_X_BIAS    260
%else
%define WORK_SEG         0x4000
%define SECOND_LAYER_SEG 0xD800
%define TILE_PAL_SEG     0xCC00
%define ROM_SIZE         0x40000
%define SECOND_TILE_BASE 1          ; the board adds 4096
%define SPRITE_X_BIAS    256
%endif

%define PORT_INPUT      0x00
%define PORT_SYSTEM     0x02
%define PORT_SOUND      0x00
%define PORT_SPRITE_DMA 0x04
%define PORT_PIC0       0x40
%define PORT_PIC1       0x42
%define PORT_FIRST_Y    0x80
%define PORT_FIRST_X    0x82
%define PORT_SECOND_Y   0x84
%define PORT_SECOND_X   0x86

%define SPRITE_START_W0 200         ; top y = 384 - 200 - 32 = 152
%define SPRITE_START_X  180
%define MOVING_CODE     0x821
%define MOVING_ATTR     0x5C03      ; two wide, two high, x and y flip, colour group 3
%define STILL_CODE      0x030
%define STILL_ATTR      0x5005      ; two wide, two high, colour group 5
%define STILL_W0        120
%define STILL_X         300
%define SOUND_FIRE      0x31

; Work RAM variables (offsets in WORK_SEG)
%define frame       0x0000
%define sprite_w0   0x0002
%define sprite_w3   0x0004
%define last_input  0x0006
%define last_system 0x0008

; ---------------------------------------------------------------- high-score table layout
; Entries are ranked from 0 (best); a score is four BCD bytes, most significant first. A record
; in ROM holds the bytes of an entry from the score on, then the name.
%ifdef RTYPE2
; 130 bytes saved from 0xE3834: five unused bytes, then 13 entries of score and six letters,
; best at the highest address, so the first entry's name is at 0xE38B5 and reaches five bytes
; past the saved region.
%define SCORE_TABLE  0x3834
%define TABLE_BYTES  135
%define ENTRY_COUNT  13
%define ENTRY_STEP   -10
%define SCORE_OFS    0
%define SCORE_BYTES  4
%define NAME_OFS     4
%define NAME_LEN     6
%define FIRST_ENTRY  (SCORE_TABLE + 5 + (ENTRY_COUNT - 1) * 10)
%else
; 115 bytes from 0x42F4D: eight unused bytes, then 10 entries of five letters, score and stage
; reached, best first, so the first entry's name is at 0x42F55; seven unused bytes after.
%define SCORE_TABLE  0x2F4D
%define TABLE_BYTES  115
%define ENTRY_COUNT  10
%define ENTRY_STEP   10
%define SCORE_OFS    5
%define SCORE_BYTES  5
%define NAME_OFS     0
%define NAME_LEN     5
%define FIRST_ENTRY  (SCORE_TABLE + 8)
%endif
%define ENTRY_SIZE   10
%define NEW_SCORE    0x00055000     ; entered with the first start key: second place
%define RECORD_SIZE  (SCORE_BYTES + NAME_LEN)

; ---------------------------------------------------------------- interrupt vectors
vectors:
%assign v 0
%rep 256
%if v == 0x20
    dw vblank, 0
%elifdef RTYPE2
%if v == 0x22
    dw raster, 0
%else
    dw ignore, 0
%endif
%else
    dw ignore, 0
%endif
%assign v v+1
%endrep

; ---------------------------------------------------------------- start-up
start:
    cli
    mov ax, WORK_SEG
    mov ss, ax
    mov sp, 0x4000
    mov ds, ax
    cld
    ; interrupt controller: edge triggered, single, ICW4 follows; vectors from 0x20;
    ; 8086 mode with automatic end of interrupt; no line masked
    mov al, 0x13
    out PORT_PIC0, al
    mov al, 0x20
    out PORT_PIC1, al
    mov al, 0x03
    out PORT_PIC1, al
    xor al, al
    out PORT_PIC1, al

    mov word [frame], 0
    mov word [sprite_w0], SPRITE_START_W0
    mov word [sprite_w3], SPRITE_START_X + SPRITE_X_BIAS
    mov byte [last_input], 0xFF
    mov byte [last_system], 0xFF

    call write_default_scores
    call write_palettes
    call fill_first_layer
    call fill_second_layer
    call clear_sprites
    call arm_raster
    call set_scroll
    call write_sprites
    sti
idle:
    hlt
    jmp idle

; ---------------------------------------------------------------- interrupts
ignore:
    iret

vblank:
    pusha
    push ds
    push es
    mov ax, WORK_SEG
    mov ds, ax
    inc word [frame]
    call arm_raster
    call set_scroll
    call read_controls
    call write_sprites
    pop es
    pop ds
    popa
    iret

; RType II asks for the raster interrupt again every frame, as a game sets its raster line.
arm_raster:
%ifdef RTYPE2
    push ds
    mov ax, 0xB000
    mov ds, ax
    mov byte [0], 0xF7
    pop ds
%endif
    ret

%ifdef RTYPE2
; Mid-frame: the lower half of the second layer scrolls on its own.
raster:
    pusha
    push ds
    mov ax, WORK_SEG
    mov ds, ax
    mov ax, [frame]
    shl ax, 1
    add ax, 0x40
    and ax, 0x1FF
    out PORT_FIRST_Y, ax
    mov ax, 0x1F0
    sub ax, [frame]
    and ax, 0x1FF
    out PORT_FIRST_X, ax
    pop ds
    popa
    iret
%endif

; ---------------------------------------------------------------- scroll
; The split layer: y word 0x100 + f, x word 100 + 3f. The other: y word 2f, x word 0x1F0 + f.
; RType scrolls its second layer by ports 0x84-0x87; RType II by 0x80-0x83 (latched there at
; the raster line).
set_scroll:
    mov bx, [frame]
    mov ax, bx
    add ax, 0x100
    and ax, 0x1FF
%ifdef RTYPE2
    out PORT_FIRST_Y, ax
%else
    out PORT_SECOND_Y, ax
%endif
    mov ax, bx
    shl ax, 1
    add ax, bx
    add ax, 100
    and ax, 0x1FF
%ifdef RTYPE2
    out PORT_FIRST_X, ax
%else
    out PORT_SECOND_X, ax
%endif
    mov ax, bx
    shl ax, 1
    and ax, 0x1FF
%ifdef RTYPE2
    out PORT_SECOND_Y, ax
%else
    out PORT_FIRST_Y, ax
%endif
    mov ax, bx
    add ax, 0x1F0
    and ax, 0x1FF
%ifdef RTYPE2
    out PORT_SECOND_X, ax
%else
    out PORT_FIRST_X, ax
%endif
    ret

; ---------------------------------------------------------------- controls
; Active low. Player 1: bit 0 right, 1 left, 2 down, 3 up, 7 first button; system port: bit 0
; the first start key.
read_controls:
    in al, PORT_INPUT
    test al, 0x01
    jnz .notRight
    add word [sprite_w3], 2
.notRight:
    test al, 0x02
    jnz .notLeft
    sub word [sprite_w3], 2
.notLeft:
    test al, 0x04
    jnz .notDown
    sub word [sprite_w0], 2
.notDown:
    test al, 0x08
    jnz .notUp
    add word [sprite_w0], 2
.notUp:
    ; a sound command when the button goes down
    mov ah, [last_input]
    mov [last_input], al
    test ah, 0x80
    jz .done
    test al, 0x80
    jnz .done
    mov al, SOUND_FIRE
    out PORT_SOUND, al
.done:
    ; a new high score when the first start key goes down
    in al, PORT_SYSTEM
    mov ah, [last_system]
    mov [last_system], al
    test ah, 0x01
    jz .noScore
    test al, 0x01
    jnz .noScore
    call enter_score
.noScore:
    ret

; ---------------------------------------------------------------- high scores
; DI = the address in WORK_SEG of the entry of rank BX.
entry_address:
    imul di, bx, ENTRY_STEP
    add di, FIRST_ENTRY
    ret

; The record at DS:SI into the entry of rank BX (ES = WORK_SEG): the score first, the name last,
; as the name of the first entry is what a saved table's installer waits for.
put_entry:
    call entry_address
    push di
    add di, SCORE_OFS
    mov cx, SCORE_BYTES
    rep movsb
    pop di
    add di, NAME_OFS
    mov cx, NAME_LEN
    rep movsb
    ret

; The default table, from the last rank to the first.
write_default_scores:
    push ds
    mov ax, WORK_SEG
    mov es, ax
    mov di, SCORE_TABLE
    mov cx, TABLE_BYTES
    xor al, al
    rep stosb
    xor ax, ax
    mov ds, ax
    mov si, default_scores + (ENTRY_COUNT - 1) * RECORD_SIZE
    mov bx, ENTRY_COUNT - 1
.entry:
    push si
    call put_entry
    pop si
    sub si, RECORD_SIZE
    dec bx
    jns .entry
    pop ds
    ret

; The new score goes in before the first entry it beats; the entries below move down a rank
; and the last one drops out.
enter_score:
    push ds
    push es
    mov ax, WORK_SEG
    mov ds, ax
    mov es, ax
    xor bx, bx
.find:
    cmp bx, ENTRY_COUNT
    je .done
    call entry_address
    mov ax, [di + SCORE_OFS]
    xchg ah, al
    cmp ax, NEW_SCORE >> 16
    jb .found
    ja .next
    mov ax, [di + SCORE_OFS + 2]
    xchg ah, al
    cmp ax, NEW_SCORE & 0xFFFF
    jb .found
.next:
    inc bx
    jmp .find
.found:
    mov dx, bx
    mov bx, ENTRY_COUNT - 1
.shift:
    cmp bx, dx
    je .put
    dec bx
    call entry_address
    mov si, di
    inc bx
    call entry_address
    mov cx, ENTRY_SIZE
    rep movsb
    dec bx
    jmp .shift
.put:
    xor ax, ax
    mov ds, ax
    mov si, new_score
    call put_entry
.done:
    pop es
    pop ds
    ret

; A record: score (BCD digits written as a hexadecimal number), stage reached (RType only), name
; (six letters; RType keeps the first five).
%macro SCORE_RECORD 3
    db (%1 >> 24) & 0xFF, (%1 >> 16) & 0xFF, (%1 >> 8) & 0xFF, %1 & 0xFF
%ifdef RTYPE2
    db %3
%else
    db %2
%substr short_name %3 1,5
    db short_name
%endif
%endmacro

default_scores:
    SCORE_RECORD 0x00060000, 8, 'MAJOR '
    SCORE_RECORD 0x00050000, 7, 'CAPTN '
    SCORE_RECORD 0x00040000, 6, 'LIEUT '
    SCORE_RECORD 0x00035000, 5, 'ENSGN '
    SCORE_RECORD 0x00030000, 5, 'SERGT '
    SCORE_RECORD 0x00025000, 4, 'CORPL '
    SCORE_RECORD 0x00020000, 3, 'CADET '
    SCORE_RECORD 0x00015000, 3, 'PRIVT '
    SCORE_RECORD 0x00010000, 2, 'RECRT '
    SCORE_RECORD 0x00008000, 1, 'TRAINE'
%ifdef RTYPE2
    SCORE_RECORD 0x00006000, 1, 'ROOKIE'
    SCORE_RECORD 0x00004000, 1, 'NOVICE'
    SCORE_RECORD 0x00002000, 1, 'GUEST '
%endif

new_score:
    SCORE_RECORD NEW_SCORE, 6, 'PILOT '

; ---------------------------------------------------------------- sprites
clear_sprites:
    mov ax, SPRITE_SEG
    mov es, ax
    xor di, di
    xor ax, ax
    mov cx, 128 * 4
    rep stosw
    ret

; Entry 0 moves, entry 1 stands still, entries 2 (code 0x1000) and 3 (x 0) are not drawn.
write_sprites:
    mov ax, SPRITE_SEG
    mov es, ax
    xor di, di
    mov ax, [sprite_w0]
    and ax, 0x1FF
    stosw
    mov ax, MOVING_CODE
    stosw
    mov ax, MOVING_ATTR
    stosw
    mov ax, [sprite_w3]
    stosw
    mov ax, STILL_W0
    stosw
    mov ax, STILL_CODE
    stosw
    mov ax, STILL_ATTR
    stosw
    mov ax, STILL_X + SPRITE_X_BIAS
    stosw
    mov ax, 150
    stosw
    mov ax, 0x1000
    stosw
    xor ax, ax
    stosw
    mov ax, 0x150
    stosw
    mov ax, 100
    stosw
    mov ax, 0x10
    stosw
    xor ax, ax
    stosw
    stosw
    out PORT_SPRITE_DMA, al     ; the board copies sprite RAM for the next frame
    ret

; ---------------------------------------------------------------- palettes
; Colour i = 16 g + p, one word per colour in each of three planes 0x400 bytes apart.
write_palettes:
    mov ax, TILE_PAL_SEG
    mov es, ax
    xor di, di
    xor bx, bx
.tile:
    mov al, bl
    and al, 15
    mov ah, al
    shl al, 1
    inc al
    mov [es:di], al
    mov al, bl
    shr al, 4
    shl al, 1
    mov [es:di + 0x400], al
    mov al, 31
    sub al, ah
    mov [es:di + 0x800], al
    mov byte [es:di + 1], 0
    mov byte [es:di + 0x401], 0
    mov byte [es:di + 0x801], 0
    add di, 2
    inc bx
    cmp bx, 256
    jne .tile

    mov ax, SPRITE_PAL_SEG
    mov es, ax
    xor di, di
    xor bx, bx
.sprite:
    mov al, bl
    and al, 15
    mov ah, al
    mov al, 31
    sub al, ah
    mov [es:di], al
    mov al, ah
    shl al, 1
    mov [es:di + 0x400], al
    mov al, bl
    shr al, 4
    shl al, 1
    inc al
    mov [es:di + 0x800], al
    mov byte [es:di + 1], 0
    mov byte [es:di + 0x401], 0
    mov byte [es:di + 0x801], 0
    add di, 2
    inc bx
    cmp bx, 256
    jne .sprite
    ret

; ---------------------------------------------------------------- layers
; Cell (col, row) = DL, DH; 64 x 64 cells of a code word and an attribute word.
; First layer: blank (tile 0) where (col xor row) & 2 is 0, else tile 1 + ((col + 3 row) & 63),
; x flip on odd columns, y flip on odd rows, colour group (col / 2) & 15.
fill_first_layer:
    mov ax, FIRST_LAYER_SEG
    mov es, ax
    xor di, di
    xor dx, dx
.cell:
    mov al, dl
    xor al, dh
    test al, 2
    jnz .tile
    xor ax, ax
    stosw
    stosw
    jmp .next
.tile:
    mov al, dh
    mov bl, 3
    mul bl
    add al, dl
    and ax, 63
    inc ax
    xor cx, cx                  ; flips: bit 0 x, bit 1 y
    test dl, 1
    jz .noFlipX
    or cl, 1
.noFlipX:
    test dh, 1
    jz .noFlipY
    or cl, 2
.noFlipY:
    call store_cell_code
    mov al, dl
    shr al, 1
    and ax, 15
    call store_cell_attr
.next:
    inc dl
    cmp dl, 64
    jne .cell
    xor dl, dl
    inc dh
    cmp dh, 64
    jne .cell
    ret

; Second layer: tile base + ((5 col + row) & 63), x flip when row & 2, y flip when col & 2,
; colour group row & 15.
fill_second_layer:
    mov ax, SECOND_LAYER_SEG
    mov es, ax
    xor di, di
    xor dx, dx
.cell:
    mov al, dl
    mov bl, 5
    mul bl
    add al, dh
    and ax, 63
    add ax, SECOND_TILE_BASE
    xor cx, cx
    test dh, 2
    jz .noFlipX
    or cl, 1
.noFlipX:
    test dl, 2
    jz .noFlipY
    or cl, 2
.noFlipY:
    call store_cell_code
    mov al, dh
    and ax, 15
    call store_cell_attr
    inc dl
    cmp dl, 64
    jne .cell
    xor dl, dl
    inc dh
    cmp dh, 64
    jne .cell
    ret

; AX = tile number, CL = flips. RType keeps the flips in bits 14 and 15 of the code word;
; RType II in bits 5 and 6 of the attribute word (store_cell_attr adds them).
store_cell_code:
%ifndef RTYPE2
    test cl, 1
    jz .noX
    or ax, 0x4000
.noX:
    test cl, 2
    jz .noY
    or ax, 0x8000
.noY:
%endif
    stosw
    ret

; AX = colour group, CL = flips.
store_cell_attr:
%ifdef RTYPE2
    test cl, 1
    jz .noX
    or ax, 0x20
.noX:
    test cl, 2
    jz .noY
    or ax, 0x40
.noY:
%endif
    stosw
    ret

; ---------------------------------------------------------------- reset vector
    times ROM_SIZE - 16 - ($ - $$) db 0xFF
reset:
    jmp 0x0000:start
    times ROM_SIZE - ($ - $$) db 0xFF
