GSD 2.0
! Past the limits: a second camera, a second background image after one that
! loaded, and nine lights. The extra items are read, reported and discarded.
#CAMERA
0 0 10  0 0 0  0 1 0  60  1 100  64 48
#CAMERA
0 0 20  0 0 0  0 1 0  30  1 100  32 24
#SCENE
20 20 40 ../sky.ppm
40 20 20 ../sky.ppm
#MATERIAL
200 200 200  200 200 200  255 255 255  10 0 0 1 null
#LIGHT
1 5 5   30 30 30
2 5 5   30 30 30
3 5 5   30 30 30
4 5 5   30 30 30
5 5 5   30 30 30
6 5 5   30 30 30
7 5 5   30 30 30
8 5 5   30 30 30
9 5 5   30 30 30
#SPHERE
0 1   0 0 0
