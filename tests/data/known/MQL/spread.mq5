// Prints the spread on every tick.
#property strict

/* Runs on any chart;

   needs no inputs. */
void OnTick()
{
   double spread = Ask - Bid; // in price units
   Print("spread // ", DoubleToString(spread, _Digits));
}
