GSD 2.0
! A texture that cannot be loaded: the reader reports it and the material
! falls back to its diffuse colour.
#CAMERA
0 0 10  0 0 0  0 1 0  60  1 100  64 48
#MATERIAL
40 40 40   200 120 40   255 255 255   20 0 0 1 no-such-texture.ppm
#LIGHT
5 5 5   255 255 255
#SPHERE
0 1   0 0 0
