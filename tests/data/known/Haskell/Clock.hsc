-- Bindings to the C clock functions.
{-# LANGUAGE ForeignFunctionInterface #-}
module Clock (now) where

#include <time.h>

import Foreign.C.Types

-- The time in seconds.
foreign import ccall "time" c_time :: CLong -> IO CLong -- C call
now :: IO Integer
now = fmap toInteger (c_time 0)
