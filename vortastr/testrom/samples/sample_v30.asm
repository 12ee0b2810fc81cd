; V30 sample of the test ROM kit (80186 instruction set): writes (20 * i + 7) & 0FFh for
; i = 0..15 to 0800h..080Fh, then stops on itself at 0002h.
        cpu 186
        bits 16
        org 0
        jmp short start
done:   jmp short done

start:  xor ax, ax
        mov ds, ax
        mov ss, ax
        mov sp, 7000h
        xor cx, cx
        mov di, 0800h
next:   imul ax, cx, 5          ; immediate multiply, shift by count and push immediate
        shl ax, 2               ; are 186 instructions
        push word 7
        pop bx
        add ax, bx
        mov [di], al
        inc di
        inc cx
        cmp cx, 16
        jne next
        jmp done
