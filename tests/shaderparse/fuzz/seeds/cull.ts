!!TS1.0
cull_fragment(LESS_THAN_ZERO, GEQUAL_TO_ZERO, GEQUAL_TO_ZERO, LESS_THAN_ZERO);
texture_rectangle();
offset_rectangle_scale(tex1, 1, 0, 0, 1, 0.5, 0.5);
dependent_gb(tex2);
