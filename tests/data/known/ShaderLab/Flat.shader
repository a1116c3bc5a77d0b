// An unlit shader with one colour.
Shader "Kordel/Flat"
{
    Properties
    {
        _Color ("Colour // tint", Color) = (1, 1, 1, 1) // the tint
    }
    /* One pass; no lighting,

       no shadows. */
    SubShader
    {
        Pass
        {
            Color [_Color]
        }
    }
}
