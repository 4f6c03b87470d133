GSD 2.0
! Malformed: the second sphere uses material 3, but only materials 0 and 1
! exist, so the reader reports it and gives no scene.
#CAMERA
0 0 10  0 0 0  0 1 0  60  1 100  64 48
#MATERIAL
255 0 0   255 0 0   255 255 255   20 0 0 1 null
0 255 0   0 255 0   255 255 255   20 0 0 1 null
#LIGHT
5 5 5   255 255 255
#SPHERE
0 1   -1 0 0
3 1   1 0 0
