GSD 3.0
! Malformed: the version word is not 2.0, so no scene is read at all.
#CAMERA
0 0 10  0 0 0  0 1 0  60  1 100  64 48
