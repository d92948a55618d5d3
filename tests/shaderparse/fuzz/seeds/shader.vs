vs.1.0
; DX8 dialect
def c10, 1, 2, 3, 4
m4x4 oPos, v0, c0
mov a0.x, v1.x
mad r0, v3, c[a0.x + 4], -r1.xy
expp r2, r0.z
logp r3.w, r2.x
slt r4, r0, r2
sge r5, r0, c10
mov oD0, v3
mov oT0.xy, v8
