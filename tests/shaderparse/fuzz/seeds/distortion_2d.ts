!!TS1.0								
texture_2d();							
offset_2d(tex0,1,0,0,1);				
nop();									
nop();									
