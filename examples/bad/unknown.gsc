GSD 2.0
! Malformed headers: an unknown category with a body, a header with a blank
! after its name, and one with a digit. Each is reported and its body skipped.
#CAMERA
0 0 10  0 0 0  0 1 0  60  1 100  64 48
#FOG
0.5 0.5 0.5   thick
#LIGHT 
1 1 1   255 255 255
#Light2
2 2 2   255 255 255
#light
5 5 5   255 255 255
#MATERIAL
255 0 0   255 0 0   255 255 255   20 0 0 1 null
#SPHERE
0 1   0 0 0
